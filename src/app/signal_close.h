// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// Runs onSignal on the event loop when SIGTERM, SIGINT or SIGHUP arrives (self-pipe).
void closeOnTerminationSignals(std::function<void()> onSignal);
