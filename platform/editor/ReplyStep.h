#pragma once

#include <QJsonObject>
#include <QString>

// One reply the editor sends for a request: a progress report or the final
// answer ("ok" or "ng").
struct ReplyStep {
    QString result;
    QString progress;
    QJsonObject cmdinfo;
};
