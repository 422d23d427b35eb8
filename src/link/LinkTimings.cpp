#include "link/LinkTimings.h"

#include <QByteArray>
#include <QList>

namespace {

struct IntField {
    const char* key;
    int LinkTimings::*field;
};

const IntField kIntFields[] = {
    {"createPolls", &LinkTimings::createPolls},
    {"createSleepMs", &LinkTimings::createSleepMs},
    {"readyPolls", &LinkTimings::readyPolls},
    {"readySleepMs", &LinkTimings::readySleepMs},
    {"destroyPolls", &LinkTimings::destroyPolls},
    {"destroySleepMs", &LinkTimings::destroySleepMs},
    {"shortLimit", &LinkTimings::shortLimit},
    {"longLimit", &LinkTimings::longLimit},
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

} // namespace

void LinkTimings::apply(const char* overrides)
{
    if (!overrides)
        return;
    const QList<QByteArray> entries = QByteArray(overrides).split(',');
    for (const QByteArray& entry : entries) {
        const int eq = entry.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = entry.left(eq).trimmed();
        const QByteArray value = entry.mid(eq + 1).trimmed();
        if (key == "pollingWait") {
            bool flag = false;
            if (parseFlag(value, flag))
                pollingWait = flag;
            continue;
        }
        for (const IntField& f : kIntFields) {
            if (key == f.key) {
                bool ok = false;
                const int n = value.toInt(&ok);
                if (ok && n >= 0)
                    this->*(f.field) = n;
                break;
            }
        }
    }
}

LinkTimings LinkTimings::fromEnvironment()
{
    LinkTimings timings;
    const QByteArray env = qgetenv("QORA_LINK_TIMINGS");
    if (!env.isEmpty())
        timings.apply(env.constData());
    return timings;
}
