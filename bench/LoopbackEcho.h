#pragma once

class BenchStats;

// The physical floor: one line out and back between two processes over
// loopback TCP, with plain sockets and no framework in between.
class LoopbackEcho
{
public:
    // Forks an echo peer, measures `roundTrips` round trips of a line of
    // `lineBytes` bytes, adds each to `stats`. False when sockets fail.
    static bool measure(int roundTrips, int lineBytes, BenchStats& stats);
};
