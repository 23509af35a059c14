// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_stop.h"

#include "cli/cli_commands.h"

#include <csignal>

namespace {

// The signal handler can reach nothing but statics: the flag of the running command and the
// first signal that came.
std::atomic<std::atomic<bool>*> s_cancelFlag{nullptr};
std::atomic<std::atomic<bool>*> s_abandonFlag{nullptr};
volatile std::sig_atomic_t s_signal = 0;
std::atomic<bool> s_outputFailed{false};

extern "C" void onStopSignal(int signal)
{
    if (s_signal == 0)
        s_signal = signal;
    if (std::atomic<bool>* flag = s_cancelFlag.load())
        flag->store(true);
    if (std::atomic<bool>* flag = s_abandonFlag.load(); flag && signal != SIGINT)
        flag->store(true);
}

void setCancel()
{
    if (std::atomic<bool>* flag = s_cancelFlag.load())
        flag->store(true);
}

} // namespace

void installStopHandlers(std::atomic<bool>& cancelRequested, std::atomic<bool>* abandonCopy)
{
    s_cancelFlag.store(&cancelRequested);
    s_abandonFlag.store(abandonCopy);
    if (s_signal != 0 || s_outputFailed)
        setCancel();
    if (abandonCopy && (s_signal == SIGTERM || s_signal == SIGHUP))
        abandonCopy->store(true);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action = {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        // A second Ctrl+C ends the program.
        action.sa_flags = SA_RESTART | (signal == SIGINT ? SA_RESETHAND : 0);
        sigaction(signal, &action, nullptr);
    }
}

void stopForOutputFailure()
{
    s_outputFailed = true;
    setCancel();
}

bool stopRequested()
{
    return s_signal != 0 || s_outputFailed;
}

int stopStatus(int otherwise)
{
    switch (s_signal) {
    case SIGINT:
        return CliExit::Interrupted;
    case SIGTERM:
        return CliExit::Terminated;
    case SIGHUP:
        return CliExit::HangUp;
    default:
        return s_outputFailed ? CliExit::CopyFailed : otherwise;
    }
}

QString stopCause()
{
    switch (s_signal) {
    case SIGINT:
        return QStringLiteral("Ctrl+C");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return s_outputFailed ? QStringLiteral("a failed write of the output") : QString();
    }
}
