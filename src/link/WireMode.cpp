#include "link/WireMode.h"

#include <QString>

bool parseWireMode(const QString& text, WireMode& mode)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.compare(QLatin1String("batched"), Qt::CaseInsensitive) == 0) {
        mode = WireMode::Batched;
        return true;
    }
    if (t.compare(QLatin1String("strict"), Qt::CaseInsensitive) == 0) {
        mode = WireMode::Strict;
        return true;
    }
    return false;
}
