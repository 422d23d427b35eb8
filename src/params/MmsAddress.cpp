#include "params/MmsAddress.h"

#include <charconv>

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

// ":" and the number, appended without temporaries.
void appendIndex(QString& out, int value)
{
    char text[13] = {':'};
    const char* end = std::to_chars(text + 1, text + sizeof text, value).ptr;
    out.append(QLatin1String(text, int(end - text)));
}

} // namespace

QString MmsAddress::ChannelAddress(const QString& name, int channel)
{
    const int end = elementEnd(name, 2);
    if (end < 0)
        return name;
    QString address;
    address.reserve(name.size() + 12);
    address.append(name.constData(), end);
    appendIndex(address, channel);
    address.append(name.constData() + end, name.size() - end);
    return address;
}

QString MmsAddress::DuganAddress(const QString& name, int channel)
{
    const int end2 = elementEnd(name, 2);
    const int end3 = elementEnd(name, 3);
    if (end2 < 0 || end3 < 0)
        return name;
    QString address;
    address.reserve(name.size() + 16);
    address.append(name.constData(), end2);
    appendIndex(address, 0);
    address.append(name.constData() + end2, end3 - end2);
    appendIndex(address, channel);
    address.append(name.constData() + end3, name.size() - end3);
    return address;
}

QString MmsAddress::PluginSlotAddress(const QString& name, int rack, int slot)
{
    const int end2 = elementEnd(name, 2);
    const int end3 = elementEnd(name, 3);
    if (end2 < 0 || end3 < 0)
        return name;
    QString address;
    address.reserve(name.size() + 24);
    address.append(name.constData(), end2);
    appendIndex(address, rack);
    address.append(QLatin1String("/PlugIn"));
    appendIndex(address, slot);
    address.append(name.constData() + end3, name.size() - end3);
    return address;
}
