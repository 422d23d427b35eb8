#pragma once

#include "PrmEntry.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

class QByteArray;

// One message from the plug-in, read with RapidJSON: a batch of thousands of
// writes is most of a conversion's traffic, and Qt's document classes spent
// more time parsing it than the editor spends applying it. The lists of the
// two list commands are taken out as entries; everything else becomes a
// QJsonObject, as small as it always is.
class EditorRequest {
public:
    enum class Kind { Other, Request, Abort };

    // False for a line that is not a JSON object (the caller drops it).
    static bool parse(const QByteArray& line, EditorRequest* out);

    Kind kind = Kind::Other;
    QString from;
    QString to;
    QString reqid;
    QString cmd;
    // "cmdinfo" without its "list" when `hasList`.
    QJsonObject cmdinfo;
    bool hasList = false;   // "cmdinfo" held a "list" array
    QVector<PrmEntry> list;
};
