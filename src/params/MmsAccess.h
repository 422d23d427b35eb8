#pragma once

#include "params/MmsStore.h"

class MainApplication;

// MmsStore over the editor link: every read and write is one command of the
// command layer (blocking on the host's thread) and leaves one log line.
class MmsAccess : public MmsStore
{
public:
    explicit MmsAccess(MainApplication& application);

    void GetMMSValue(const QString& address, OVariant& value) const override;
    bool SetMMSValue(const QString& address, const OVariant& value) const override;

private:
    MainApplication& m_application;
};
