#include "params/MmsAddress.h"

namespace {

// Position of the "/" that ends element `element` of a "/"-split path, the
// text's length when that element is the last one, -1 when the path has
// fewer elements. Forming addresses is on every value's path, so no split.
int elementEnd(const QString& path, int element)
{
    int pos = -1;
    for (int i = 0; i <= element; ++i) {
        pos = path.indexOf(QLatin1Char('/'), pos + 1);
        if (pos < 0)
            return i == element ? path.size() : -1;
    }
    return pos;
}

QString index(int value)
{
    return QLatin1Char(':') + QString::number(value);
}

} // namespace

QString MmsAddress::ChannelAddress(const QString& name, int channel)
{
    const int end = elementEnd(name, 2);
    if (end < 0)
        return name;
    return name.left(end) + index(channel) + name.midRef(end);
}

QString MmsAddress::DuganAddress(const QString& name, int channel)
{
    const int end2 = elementEnd(name, 2);
    const int end3 = elementEnd(name, 3);
    if (end2 < 0 || end3 < 0)
        return name;
    return name.left(end2) + index(0) + name.midRef(end2, end3 - end2) + index(channel) + name.midRef(end3);
}

QString MmsAddress::PluginSlotAddress(const QString& name, int rack, int slot)
{
    const int end2 = elementEnd(name, 2);
    const int end3 = elementEnd(name, 3);
    if (end2 < 0 || end3 < 0)
        return name;
    return name.left(end2) + index(rack) + QLatin1String("/PlugIn") + index(slot) + name.midRef(end3);
}
