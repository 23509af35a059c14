// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_option.h"

#include <cstdio>
#include <cstring>

namespace {
const char Usage[] =
    "Usage: ketrano [PROFILE]\n"
    "Ketrano Backup keeps pairs of folders in step.\n"
    "\n"
    "Without PROFILE the window opens with the profile of the last run. With PROFILE (a .prf\n"
    "file; the arguments are joined with single blanks, so a path with blanks needs no quotes)\n"
    "the window loads that profile, scans and synchronizes it once, and stays open.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Backups without a window: ketrano-cli --help.\n";

// After the version line, as GNU programs print it.
const char Licence[] =
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";
} // namespace

int answerHelpOption(int argc, char** argv)
{
    if (argc != 2)
        return -1;
    if (std::strcmp(argv[1], "--help") == 0) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("ketrano (Ketrano Backup) %s\n", KETRANO_VERSION);
        std::fputs(Licence, stdout);
        return 0;
    }
    return -1;
}
