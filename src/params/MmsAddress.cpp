#include "params/MmsAddress.h"

#include <QStringList>

namespace {

QString indexed(const QString& element, int index)
{
    return element + QLatin1Char(':') + QString::number(index);
}

} // namespace

QString MmsAddress::ChannelAddress(const QString& name, int channel)
{
    QStringList parts = name.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    if (parts.size() < 3)
        return name;
    parts[2] = indexed(parts[2], channel);
    return parts.join(QLatin1Char('/'));
}

QString MmsAddress::DuganAddress(const QString& name, int channel)
{
    QStringList parts = name.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    if (parts.size() < 4)
        return name;
    parts[2] = indexed(parts[2], 0);
    parts[3] = indexed(parts[3], channel);
    return parts.join(QLatin1Char('/'));
}

QString MmsAddress::PluginSlotAddress(const QString& name, int rack, int slot)
{
    QStringList parts = name.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    if (parts.size() < 4)
        return name;
    parts[2] = indexed(parts[2], rack);
    parts[3] = indexed(QStringLiteral("PlugIn"), slot);
    return parts.join(QLatin1Char('/'));
}
