#pragma once

#include "ConsoleModel.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <set>
#include <string>

// What became of every value of a conversion, scene by scene. plaxbridge
// counts what it asked for (values written, left alone by filters); the
// plug-in's journal tells which writes the console refused and where the
// effect units and plug-ins were placed, and so which values went to a unit
// without a place. Every value written is landed, refused or without a
// place. Written as JSON or as an HTML page (ReportHtml), from one object.
class ConversionReport
{
public:
    // The console's rack geometry as the plug-in places units on it
    // (src/params/RackPlacement.h). Restated, not included: the host program
    // links nothing of the plug-in and knows it only through its journal.
    static constexpr int FxUnits = 16;
    static constexpr int FxRacks = 16;
    static constexpr int Plugins = 64;
    static constexpr int VelmarRacks = 4;
    static constexpr int SlotsPerRack = 16;

    struct Refusal {
        QString address;
        QString parameter;     // the KX9 parameter name, channel index taken out
        int channel = -1;      // channel, FX unit or plug-in; -1 when unknown
        QJsonValue value;
        QString reason;
    };

    // One FX unit or plug-in as its last type write in the scene left it.
    struct Unit {
        bool known = false;    // a type write placed it, or failed to, in this scene
        bool placed = false;
        int type = 0;
        QString name;
        int size = 0;
        int rack = -1;
        int slot = -1;
        long long values = 0;  // values written to the unit
        long long dropped = 0; // of them, lost for want of a place
        QString firstDropped;  // the parameter of the first lost value
    };

    struct Scene {
        int number = 0;
        QString title;
        long long written = 0;
        long long leftAlone = 0;
        long long noPlace = 0;
        long long toEmptyUnits = 0;    // of noPlace: units whose type is "none"
        QList<Refusal> refused;        // converted values the console refused
        QList<Refusal> setupRefused;   // the plug-in's own setup writes (default values, recall safe)
        std::array<Unit, FxUnits> fx;
        std::array<Unit, Plugins> plugins;

        long long landed() const { return written - refused.size() - noPlace; }
    };

    void setFiles(const QString& source, const QString& output);
    void beginScene(int number, const QString& title);
    void endScene();

    // A converter wrote a value to `target` at `channel`.
    void written(const std::string& target, int channel);
    void leftAlone();
    void notInSource(const std::string& target);
    void warning(const QString& text);
    // One event of the plug-in's journal, in the order the plug-in logged it.
    void journal(const QJsonObject& event);

    const QList<Scene>& scenes() const { return m_scenes; }
    long long total(long long Scene::*field) const;
    long long totalRefused() const;
    long long totalLanded() const;

    // What the written file holds, scene by scene as read back through the
    // plug-in: drawn as strips on the HTML page (not in the JSON, which
    // `plaxbridge show --json` gives).
    void setConsole(const QVector<SceneView>& views);

    QJsonObject toJson() const;
    // JSON for a ".json" path, an HTML page otherwise; false with a reason.
    bool write(const QString& path, QString* error) const;

private:
    Scene* current();
    Refusal refusal(const QJsonObject& event) const;

    QString m_source;
    QString m_output;
    QList<Scene> m_scenes;
    bool m_inScene = false;
    QList<Refusal> m_otherRefused;   // outside the scenes: name lists, set-up
    std::set<std::string> m_notInSource;
    QStringList m_warnings;
    QVector<SceneView> m_console;
};
