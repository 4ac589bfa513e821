#include "cli/Signals.h"

#include <csignal>

namespace vestimo::cli {

namespace {

volatile std::sig_atomic_t requested = 0;

void onStopSignal(int signal) {
    requested = signal;
}

} // namespace

void installSignalHandlers() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);

    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    // Interrupted reads and writes go on; the handler only notes the request. Taking it resets
    // the handler, so a player who insists ends the program at once.
    stop.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
}

int stopSignal() {
    return requested;
}

} // namespace vestimo::cli
