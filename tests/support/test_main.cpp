// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <cstdlib>
#include <ctime>

// Every engine test program runs with a fixed time zone and locale, and with a settings and
// a state folder of its own: whoever runs the tests, nothing of theirs is read or written.
int main(int argc, char** argv)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ::setenv("LANG", "C.UTF-8", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    ::setenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8().constData(), 1);
    ::setenv("XDG_STATE_HOME", home.filePath("state").toUtf8().constData(), 1);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
