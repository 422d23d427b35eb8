#pragma once

#include "ConsoleMemory.h"

#include <QString>

// One stored scene: the memory as it was stored and its information.
struct SceneMemory {
    QString title;
    QString comment;
    bool protect = false;
    QString timeStamp; // "yyyyMMddHHmmss", local time
    ConsoleMemory::Changes memory;
};
