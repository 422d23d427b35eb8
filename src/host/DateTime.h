#pragma once

// A scene time stamp as the host passes it: offsets from 2000-01-01 00:00:00.
// All zero means "no time known".
struct DateTime
{
    short year = 0;   // year - 2000
    short month = 0;  // month - 1 (0..11)
    short day = 0;    // day - 1 (0..30)
    short hour = 0;
    short minute = 0;
    short second = 0;
};
