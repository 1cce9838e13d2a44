#include "tools/interrupt.h"

#include <QtGlobal>
#include <atomic>
#include <csignal>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tools {

namespace {

// Set from a signal handler (or, on Windows, from the thread the console's handler runs on).
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

#ifdef Q_OS_WIN
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    if (requested.exchange(1) != 0)
        return FALSE; // the second one ends the process
    return TRUE;
}
#else
extern "C" void onSignal(int signal) {
    if (requested.exchange(signal) == signal) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}
#endif

} // namespace

void watchForInterrupt() {
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

bool interruptRequested() {
    return requested.load() != 0;
}

} // namespace tools
