#pragma once

#include "ConsoleModel.h"

#include <QString>
#include <QVector>

class ConsoleDiff;
class QJsonObject;

// show and diff as terminal text and as JSON. Terminal text numbers
// channels from 1, as the console does; JSON keeps the plug-in's indices.
class ConsoleText {
public:
    ConsoleText() = delete;

    static QString sceneNumber(int number);    // 250 -> "2.50"
    static QString faderText(int level);       // 1/100 dB -> "-5.0"
    static QString panText(int pan);           // "L12", "C", "R12"
    // An effect unit's number, or a plug-in's rack and slot ("2.5": rack 2, slot 5).
    static QString unitPlace(int unit, bool plugin);
    // The name a strip shows: its own, or the current memory's in brackets.
    static QString stripName(const Strip& strip);

    static QString showText(const QString& file, const QVector<SceneHeader>& scenes,
                            const QVector<SceneView>& views);
    static QJsonObject showJson(const QString& file, const QVector<SceneHeader>& scenes,
                                const QVector<SceneView>& views);

    static QString diffText(const QString& a, const QString& b, const ConsoleDiff& diff);
    static QJsonObject diffJson(const QString& a, const QString& b, const ConsoleDiff& diff);
};
