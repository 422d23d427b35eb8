#include "InterruptGuard.h"

#include <csignal>

#include <signal.h>

namespace {

volatile std::sig_atomic_t g_signal = 0;

extern "C" void onSignal(int number)
{
    g_signal = number;
}

} // namespace

void InterruptGuard::install()
{
    struct sigaction action = {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool InterruptGuard::interrupted()
{
    return g_signal != 0;
}

int InterruptGuard::signalNumber()
{
    return g_signal;
}
