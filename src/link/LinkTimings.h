#pragma once

// Time limits of the editor link. The defaults are the product's; tests and
// benchmarks shrink them through QORA_LINK_TIMINGS.
struct LinkTimings {
    int createPolls = 100;   int createSleepMs = 100;    // wait for "connected"
    int readyPolls = 60;     int readySleepMs = 1000;    // wait for "MMS Readied"
    int destroyPolls = 100;  int destroySleepMs = 100;   // wait for the connection to close
    int shortLimit = 3000;   int longLimit = 30000;      // command limits, in 1 ms steps
    bool pollingWait = false;                            // true: sleep-and-poll; false: wake on answer
    // Defaults, overridden by the environment variable QORA_LINK_TIMINGS, e.g.
    // "shortLimit=200,createPolls=5,createSleepMs=20,pollingWait=1" (unknown keys ignored).
    static LinkTimings fromEnvironment();
    // The same overrides applied to these timings; malformed entries are ignored.
    void apply(const char* overrides);
};
