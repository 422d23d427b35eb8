#pragma once

// SIGINT and SIGTERM set a flag instead of ending the process, so the host
// can stop at the next safe point and still release the plug-in (Destroy),
// which stops the editor. A second signal ends the process at once (the
// handlers are reset on first use), for when a plug-in call does not return.
class InterruptGuard {
public:
    static void install();
    static bool interrupted();
    // The signal received, 0 when none.
    static int signalNumber();
};
