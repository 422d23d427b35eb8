#include "link/ReplyRecord.h"

void ReplyRecord::clear()
{
    deviceUID.clear();
    reqUID.clear();
    cmdKey.clear();
    info.clear();
    cmdResult.clear();
    progress = 0;
}

bool ReplyRecord::isFinal() const
{
    return cmdResult == QLatin1String("ok") || cmdResult == QLatin1String("ng");
}
