#pragma once

#include "SceneMemory.h"

#include <QMap>
#include <QString>

// The scene memories of category "UserA", keyed by scene number in
// hundredths (the console's "1.23" is 123). Scene 0.00 is the console's
// read-only initial scene and is never stored here.
class SceneStore {
public:
    static constexpr int MaxScene = 99999;     // 999.99
    static constexpr int ListRows = 500;
    static const char* const Category;         // "UserA"
    static const char* const TimeStampFormat;  // "yyyyMMddHHmmss"

    // "<digits>.<two digits>" in 0.00..999.99; nothing else.
    static bool parseSceneNumber(const QString& text, int* hundredths);
    static QString formatSceneNumber(int hundredths);
    // Row index of a normalised scene list address
    // "/SceneList/Bank:0/Info:<row>/SceneNumber:0", row 0..499 in plain decimal.
    static bool parseListAddress(const QString& address, int* row);
    // A text of exactly 14 digits that forms a valid local date and time.
    static bool isValidTimeStamp(const QString& text);

    bool contains(int scene) const { return scenes_.contains(scene); }
    const SceneMemory* find(int scene) const;
    SceneMemory* find(int scene);
    void store(int scene, const SceneMemory& memory) { scenes_.insert(scene, memory); }
    void clear() { scenes_.clear(); }
    int count() const { return scenes_.size(); }
    const QMap<int, SceneMemory>& scenes() const { return scenes_; }

    // Scene list row: the row-th stored scene number in ascending order,
    // empty after the last stored scene.
    QString listRow(int row) const;

private:
    QMap<int, SceneMemory> scenes_;
};
