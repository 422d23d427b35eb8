#include "SceneStore.h"

#include <QDateTime>
#include <QRegularExpression>

const char* const SceneStore::Category = "UserA";
const char* const SceneStore::TimeStampFormat = "yyyyMMddHHmmss";

bool SceneStore::parseSceneNumber(const QString& text, int* hundredths)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,3})\\.([0-9]{2})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return false;
    *hundredths = m.captured(1).toInt() * 100 + m.captured(2).toInt();
    return true;
}

QString SceneStore::formatSceneNumber(int hundredths)
{
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

bool SceneStore::parseListAddress(const QString& address, int* row)
{
    // Every read asks; nearly none is a row.
    if (!address.startsWith(QLatin1String("/SceneList/")))
        return false;
    static const QRegularExpression pattern(
        QStringLiteral("^/SceneList/Bank:0/Info:(0|[1-9][0-9]{0,2})/SceneNumber:0$"));
    const QRegularExpressionMatch m = pattern.match(address);
    if (!m.hasMatch())
        return false;
    const int r = m.captured(1).toInt();
    if (r >= ListRows)
        return false;
    *row = r;
    return true;
}

bool SceneStore::isValidTimeStamp(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{14}$"));
    if (!digits.match(text).hasMatch())
        return false;
    return QDateTime::fromString(text, QLatin1String(TimeStampFormat)).isValid();
}

const SceneMemory* SceneStore::find(int scene) const
{
    const auto it = scenes_.constFind(scene);
    return it == scenes_.constEnd() ? nullptr : &it.value();
}

SceneMemory* SceneStore::find(int scene)
{
    const auto it = scenes_.find(scene);
    return it == scenes_.end() ? nullptr : &it.value();
}

QString SceneStore::listRow(int row) const
{
    if (row < 0 || row >= scenes_.size())
        return QString();
    auto it = scenes_.constBegin();
    std::advance(it, row);
    return formatSceneNumber(it.key());
}
