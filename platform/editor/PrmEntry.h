#pragma once

#include <QJsonValue>
#include <QString>

// One element of a "getData_prm_val" or "setData_prm_val" list.
struct PrmEntry {
    QString address;
    bool hasAddress = false;   // "prmAddr" present and a string
    QJsonValue value;          // "prmValue"; undefined when absent
};
