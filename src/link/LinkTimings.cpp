#include "link/LinkTimings.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

namespace {

struct IntField {
    const char* key;
    int LinkTimings::*field;
    int min;
    int max;
};

const IntField kIntFields[] = {
    {"createPolls", &LinkTimings::createPolls, LinkTimings::MinPolls, LinkTimings::MaxPolls},
    {"createSleepMs", &LinkTimings::createSleepMs, LinkTimings::MinSleepMs, LinkTimings::MaxSleepMs},
    {"readyPolls", &LinkTimings::readyPolls, LinkTimings::MinPolls, LinkTimings::MaxPolls},
    {"readySleepMs", &LinkTimings::readySleepMs, LinkTimings::MinSleepMs, LinkTimings::MaxSleepMs},
    {"destroyPolls", &LinkTimings::destroyPolls, LinkTimings::MinPolls, LinkTimings::MaxPolls},
    {"destroySleepMs", &LinkTimings::destroySleepMs, LinkTimings::MinSleepMs, LinkTimings::MaxSleepMs},
    {"shortLimit", &LinkTimings::shortLimit, LinkTimings::MinLimitMs, LinkTimings::MaxLimitMs},
    {"longLimit", &LinkTimings::longLimit, LinkTimings::MinLimitMs, LinkTimings::MaxLimitMs},
};

bool parseFlag(const QByteArray& text, bool& out)
{
    const QByteArray t = text.toLower();
    if (t == "1" || t == "true" || t == "yes" || t == "on") {
        out = true;
        return true;
    }
    if (t == "0" || t == "false" || t == "no" || t == "off") {
        out = false;
        return true;
    }
    return false;
}

// True when the entry was taken.
bool applyEntry(LinkTimings& timings, const QByteArray& key, const QByteArray& value)
{
    if (key == "pollingWait")
        return parseFlag(value, timings.pollingWait);
    for (const IntField& f : kIntFields) {
        if (key != f.key)
            continue;
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < f.min || n > f.max)
            return false;
        timings.*(f.field) = n;
        return true;
    }
    return false;
}

} // namespace

QByteArray LinkTimings::apply(const char* overrides)
{
    QByteArray rejected;
    if (!overrides)
        return rejected;
    const QList<QByteArray> entries = QByteArray(overrides).split(',');
    for (const QByteArray& entry : entries) {
        if (entry.trimmed().isEmpty())
            continue;
        const int eq = entry.indexOf('=');
        const bool taken = eq > 0 && applyEntry(*this, entry.left(eq).trimmed(), entry.mid(eq + 1).trimmed());
        if (!taken)
            rejected += (rejected.isEmpty() ? "" : ",") + entry.trimmed();
    }
    return rejected;
}

LinkTimings LinkTimings::fromEnvironment()
{
    LinkTimings timings;
    const QByteArray env = qgetenv("QORA_LINK_TIMINGS");
    if (env.isEmpty())
        return timings;
    const QByteArray rejected = timings.apply(env.constData());
    if (!rejected.isEmpty())
        qWarning("QORA_LINK_TIMINGS=\"%s\": ignored %s (unknown, malformed or out of range; left as they were)",
                 env.constData(), rejected.constData());
    return timings;
}
