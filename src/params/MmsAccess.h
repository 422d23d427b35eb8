#pragma once

#include "params/MmsStore.h"

class MainApplication;
class QVariant;

// MmsStore over the editor link: every read and write is one command of the
// command layer (blocking on the host's thread) and leaves one log line.
class MmsAccess : public MmsStore
{
public:
    explicit MmsAccess(MainApplication& application);

    void GetMMSValue(const QString& address, OVariant& value) const override;
    bool SetMMSValue(const QString& address, const OVariant& value) const override;
    bool SetMMSChannelValue(const QString& name, int channel, bool dugan, const OVariant& value) const override;
    void GetMMSValues(const QStringList& addresses, QVector<OVariant>& values) const override;

    // The log line and the journal event of a write the editor did not take,
    // whether it was sent alone or in a batch the command layer sent later.
    static void reportRefusedWrite(const QString& address, const QVariant& value, const QString& reason);

private:
    static void logRead(const QString& address, const OVariant& value);

    MainApplication& m_application;
};
