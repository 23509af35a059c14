// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <atomic>

// What stops a running command before its end, the way Esc stops the window's: Ctrl+C
// (SIGINT), SIGTERM, SIGHUP, or a write of the output that failed (a closed pipe, a full disk).
// Each sets the command's cancel flag; Scan and Synchronize stop at their next check. After
// Ctrl+C the file being copied is finished first, and a second Ctrl+C ends the program at once.
// SIGTERM and SIGHUP (a system shutting down, a closed terminal) give the file being copied up
// as well, within a step of its copy: its destination stays as it was.

// Catches the three signals for the command whose cancel flag (and, for a synchronization, the
// flag that gives up the copy in progress) is given. SIGPIPE is ignored from the start of the
// program (see main), so a closed pipe is a failed write.
void installStopHandlers(std::atomic<bool>& cancelRequested,
                         std::atomic<bool>* abandonCopy = nullptr);

// The output could not be written: stop like a signal would.
void stopForOutputFailure();

// A signal or a failed write came.
bool stopRequested();

// The exit status of a stopped command: 129, 130 or 143 after a signal (the first one that
// came), 1 after a failed write, otherwise the given status.
int stopStatus(int otherwise);

// "SIGTERM", "Ctrl+C", "SIGHUP", "a failed write of the output", empty when not stopped.
QString stopCause();
