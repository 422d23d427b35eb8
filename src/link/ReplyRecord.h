#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

// The most recent reply of the editor, final or progress report.
struct ReplyRecord {
    QString deviceUID;
    QString reqUID;
    QString cmdKey;
    QVariantMap info;
    QString cmdResult;
    std::uint32_t progress = 0;

    void clear();
    // "ok" or "ng": the reply ends a command's wait.
    bool isFinal() const;
};
