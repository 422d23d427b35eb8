#include "params/MmsAccess.h"

#include "link/JsonCodec.h"
#include "link/MainApplication.h"
#include "params/Journal.h"
#include "params/MmsAddress.h"
#include "support/OVariant.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtDebug>

namespace {

QByteArray local8(const QString& text)
{
    return text.toLocal8Bit();
}

// Every value read and write logs a line; formatting it costs more than the
// value itself when nobody listens, so skip it when debug output is off.
bool logging()
{
    return QLoggingCategory::defaultCategory()->isDebugEnabled();
}

// Texts travel as UTF-8; the log wants the local 8-bit encoding.
QByteArray localText(const OVariant& value)
{
    return QString::fromUtf8(value.toString()).toLocal8Bit();
}

} // namespace

MmsAccess::MmsAccess(MainApplication& application)
    : m_application(application)
{
}

void MmsAccess::GetMMSValue(const QString& address, OVariant& value) const
{
    m_application.GetPrmVal(address, value);
    if (logging())
        logRead(address, value);
}

void MmsAccess::GetMMSValues(const QStringList& addresses, QVector<OVariant>& values) const
{
    m_application.GetPrmVals(addresses, values);
    if (!logging())
        return;
    for (int i = 0; i < addresses.size() && i < values.size(); ++i)
        logRead(addresses.at(i), values.at(i));
}

void MmsAccess::logRead(const QString& address, const OVariant& value)
{
    const QByteArray addr = local8(address);
    if (!value.isValid()) {
        qDebug("###QORA: GetMMSValue[%s] ERROR", addr.constData());
        return;
    }
    switch (value.type()) {
    case OVariant::Integer:
        qDebug("###QORA: GetMMSValue[%s] -> %d", addr.constData(), value.toInt());
        break;
    case OVariant::Unsigned:
        qDebug("###QORA: GetMMSValue[%s] -> %u", addr.constData(), static_cast<unsigned>(value.toInt()));
        break;
    case OVariant::Real:
        qDebug("###QORA: GetMMSValue[%s] -> %f", addr.constData(), static_cast<double>(value.toFloat()));
        break;
    case OVariant::String:
        qDebug("###QORA: GetMMSValue[%s] -> %s", addr.constData(), localText(value).constData());
        break;
    default:
        break;
    }
}

void MmsAccess::reportRefusedWrite(const QString& address, const QVariant& value, const QString& reason)
{
    if (logging())
        qDebug("###QORA: SetMMSValue[%s] ERROR", local8(address).constData());
    Journal::refused(address, value, reason);
}

bool MmsAccess::SetMMSChannelValue(const QString& name, int channel, bool dugan, const OVariant& value) const
{
    // The log line names the address, so it is formed anyway.
    if (logging())
        return MmsStore::SetMMSChannelValue(name, channel, dugan, value);
    return m_application.SetPrmVal(name, channel, dugan ? &MmsAddress::DuganAddress : &MmsAddress::ChannelAddress,
                                   value);
}

bool MmsAccess::SetMMSValue(const QString& address, const OVariant& value) const
{
    const bool accepted = m_application.SetPrmVal(address, value);
    if (!logging())
        return accepted;
    if (!accepted) {
        const bool sendable = value.type() == OVariant::Integer || value.type() == OVariant::String;
        reportRefusedWrite(address, sendable ? JsonCodec::convertOVariantToQVariant(value) : QVariant(),
                           sendable ? QString() : QStringLiteral("only integers and texts are sent"));
        return false;
    }
    const QByteArray addr = local8(address);
    switch (value.type()) {
    case OVariant::Integer:
        qDebug("###QORA: %d -> SetMMSValue[%s]", value.toInt(), addr.constData());
        break;
    case OVariant::Unsigned:
        qDebug("###QORA: %u -> SetMMSValue[%s]", static_cast<unsigned>(value.toInt()), addr.constData());
        break;
    case OVariant::Real:
        qDebug("###QORA: %f -> SetMMSValue[%s]", static_cast<double>(value.toFloat()), addr.constData());
        break;
    case OVariant::String:
        qDebug("###QORA: %s -> SetMMSValue[%s]", localText(value).constData(), addr.constData());
        break;
    default:
        break;
    }
    return true;
}
