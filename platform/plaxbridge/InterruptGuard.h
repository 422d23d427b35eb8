#pragma once

// SIGINT and SIGTERM set a flag instead of ending the process, so the host
// can stop at the next safe point and still release the plug-in (Destroy),
// which stops the editor. The handlers are installed without SA_RESTART, so
// a blocking read of standard input returns at once.
class InterruptGuard {
public:
    static void install();
    static bool interrupted();
    // The signal received, 0 when none.
    static int signalNumber();
};
