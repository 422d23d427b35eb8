#pragma once

class QByteArray;

// Time limits of the editor link. The defaults are the product's; tests and
// tuning change them through the environment variable QORA_LINK_TIMINGS.
struct LinkTimings {
    int createPolls = 100;   int createSleepMs = 100;    // wait for "connected"
    int readyPolls = 60;     int readySleepMs = 1000;    // wait for "MMS Readied"
    int destroyPolls = 100;  int destroySleepMs = 100;   // wait for the connection to close
    int shortLimit = 3000;   int longLimit = 30000;      // command limits, in 1 ms steps
    bool pollingWait = false;                            // true: sleep-and-poll; false: wake on answer

    // Accepted ranges; an entry outside them leaves the value as it was.
    static constexpr int MinPolls = 1, MaxPolls = 10000;
    static constexpr int MinSleepMs = 1, MaxSleepMs = 10000;
    static constexpr int MinLimitMs = 10, MaxLimitMs = 600000;

    // Defaults, overridden by QORA_LINK_TIMINGS, e.g.
    // "shortLimit=200,createPolls=5,createSleepMs=20,pollingWait=1". Entries
    // that are malformed, unknown or out of range are left out, all of them
    // named in one warning.
    static LinkTimings fromEnvironment();
    // The same overrides applied to these timings; returns the entries left
    // out, comma-separated (empty when every entry was taken).
    QByteArray apply(const char* overrides);
};
