// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "ketrano --help" and "ketrano --version": the text on standard output, before any window or
// display is needed. Returns the exit status, or -1 when the command line is anything else
// (then it names a profile, as always).
int answerHelpOption(int argc, char** argv);
