#include "params/MmsStore.h"

#include "host/MixerException.h"
#include "params/MmsAddress.h"
#include "support/OVariant.h"

#include <QByteArray>
#include <QString>

MmsStore::~MmsStore() = default;

bool MmsStore::SetMMSChannelValue(const QString& name, int channel, bool dugan, const OVariant& value) const
{
    return SetMMSValue(dugan ? MmsAddress::DuganAddress(name, channel) : MmsAddress::ChannelAddress(name, channel),
                       value);
}

void MmsStore::GetMMSStrValue(const QString& address, QString& text) const
{
    OVariant value;
    GetMMSValue(address, value);
    if (!value.isValid()) {
        text.clear();
        return;
    }
    if (value.type() == OVariant::String) {
        text = QString::fromUtf8(value.toString());
        return;
    }
    throw new MixerException("GetMMSStrValue() MMS value type is not string.", "QORA", -1);
}

void MmsStore::SetMMSStrValue(const QString& address, const QString& text) const
{
    const QByteArray utf8 = text.toUtf8();
    const OVariant value(utf8.constData(), static_cast<unsigned>(utf8.size()));
    SetMMSValue(address, value);
}
