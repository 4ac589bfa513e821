#pragma once

// How a command meets the signals that would otherwise end it without a report: SIGPIPE is
// ignored, so a closed output shows as a failed write; SIGINT and SIGTERM ask the command to stop
// at its next safe point (after the file in hand), settle the journal and report what it did.
namespace vestimo::cli {

// Once per process, before the command starts. A second SIGINT or SIGTERM ends the program at
// once, as it would have without this.
void installSignalHandlers();

// The signal that asked the command to stop, or 0.
int stopSignal();

// The exit status of a command stopped by `signal`: 128 and the signal's number, as shells have it.
inline int statusForSignal(int signal) {
    return 128 + signal;
}

} // namespace vestimo::cli
