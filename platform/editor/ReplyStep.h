#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QVector>

// One value read for a reply: its "prmType" and "prmValue".
struct ReadValue {
    int type = 0;
    QJsonValue value;
};

// One reply the editor sends for a request: a progress report or the final
// answer ("ok" or "ng").
struct ReplyStep {
    QString result;
    QString progress;
    QJsonObject cmdinfo;
    // A block read's answer: the entries of "cmdinfo"'s "list", in request
    // order. They go to the wire as they are; a document of them cost the
    // editor more than the reads themselves.
    bool hasList = false;
    QVector<ReadValue> list;
};
