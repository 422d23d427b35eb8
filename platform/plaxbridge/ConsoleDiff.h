#pragma once

#include "ConsoleModel.h"

#include <QString>
#include <QVector>

#include <string>
#include <vector>

class ValueNames;

// One value that differs between two console files.
struct Difference {
    int scene = 0;          // the host's scene number; CurrentMemory for the current memory
    QString parameter;      // a catalogue name, a name-list head, or a scene-information item
    int channel = -1;       // -1 for scene information
    QString channelName;
    QString a;              // the values as texts
    QString b;
};

// The comparison of two console files: scenes in one only, and the values
// of the scenes both hold.
class ConsoleDiff {
public:
    static constexpr int CurrentMemory = SceneHeader::CurrentMemory;

    ConsoleDiff(const std::vector<std::string>& parameters, std::vector<int> channelMins,
                const ValueNames& valueNames);

    void onlyIn(bool inA, const SceneHeader& scene);
    void compareInformation(const SceneHeader& a, const SceneHeader& b);
    void compareValues(const SceneValues& a, const SceneValues& b);
    // Name lists (ConsoleReader's order); `scene` as in Difference. The
    // current memory's, compared first, name the channels of later values.
    void compareNames(int scene, const QVector<QStringList>& a, const QVector<QStringList>& b);

    bool equal() const { return m_onlyA.isEmpty() && m_onlyB.isEmpty() && m_differences.isEmpty(); }
    const QVector<SceneHeader>& onlyA() const { return m_onlyA; }
    const QVector<SceneHeader>& onlyB() const { return m_onlyB; }
    const QVector<Difference>& differences() const { return m_differences; }
    int comparedScenes() const { return m_compared; }

private:
    const std::vector<std::string>& m_parameters;
    std::vector<int> m_channelMins;
    const ValueNames& m_valueNames;
    QVector<SceneHeader> m_onlyA;
    QVector<SceneHeader> m_onlyB;
    QVector<Difference> m_differences;
    int m_compared = 0;
    QVector<QStringList> m_currentA;
    QVector<QStringList> m_currentB;
};
