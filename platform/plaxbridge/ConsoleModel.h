#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <climits>
#include <vector>

// What show and diff read from a KX9 console file through the plug-in.
// Channels are the plug-in's indices (0-based); people see them 1-based.

// A stored scene's information.
struct SceneHeader {
    // The number that stands for the current memory, which is no scene.
    static constexpr int CurrentMemory = -1;

    int number = 0;        // the host's scene number (250 is the console's 2.50)
    QString title;
    QString comment;
    bool protect = false;
    QString date;          // "yyyy-MM-dd hh:mm:ss", empty when the scene has no time
};

// One channel strip as a console shows it.
struct Strip {
    int channel = 0;
    QString name;          // the scene's own name
    QString currentName;   // the current memory's name (the file's, before any recall)
    int fader = 0;         // 1/100 dB
    bool on = false;
    bool hasPan = false;
    int pan = 0;
    bool hasProcessing = false;   // EQ and dynamics exist on this kind of strip
    bool eq = false;
    QStringList dynamics;  // the types of the dynamics switched on
};

struct StripGroup {
    QString kind;          // "InputChannel", "Mix", "Matrix", "Stereo", "DCA"
    QString label;         // short label: "IN", "MIX", "MTX", "ST", "DCA"
    QVector<Strip> strips;
};

// An effect unit or plug-in that has a type.
struct RackUnit {
    int unit = 0;          // an effect unit; for plug-ins the slot, 16 per rack
    QString type;
    QString library;       // the library (preset) name; for plug-ins L and R joined by " / "
};

struct SceneView {
    SceneHeader header;
    QVector<StripGroup> groups;
    QVector<RackUnit> fx;
    QVector<RackUnit> plugins;
};

// Every value of a scene that the plug-in answers: the catalogue's
// parameters channel by channel, and the name lists.
struct SceneValues {
    // The values of a plug-in slot that holds no plug-in are not read.
    static constexpr int NotRead = INT_MIN;

    SceneHeader header;
    std::vector<std::vector<int>> values;   // per catalogue parameter, per channel from its lowest
    QVector<QStringList> names;             // per name list, without the head
};
