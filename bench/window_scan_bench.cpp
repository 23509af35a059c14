// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"
#include "profile/profile_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

// window_scan_bench PROFILE: runs the main window's Scan over the profile (offscreen unless
// QT_QPA_PLATFORM says otherwise) and prints the time it took and the longest time the event
// loop went without a turn, i.e. the longest the window could not repaint.

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // keep the user's settings out of it
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_scan_bench PROFILE\n");
        return 2;
    }
    std::vector<ProfileEntry> entries;
    if (!ProfileFile::read(QString::fromLocal8Bit(argv[1]), entries)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    MainForm form{QString()};
    form.resize(1200, 800);
    form.show();
    for (const ProfileEntry& e : entries)
        form.state().profileEntries.append(e);
    QApplication::processEvents();

    QElapsedTimer gap;
    qint64 longest = 0;
    const std::function<void()> yield = form.callbacks().yield;
    form.callbacks().yield = [&] {
        if (gap.isValid())
            longest = qMax(longest, gap.nsecsElapsed());
        if (yield)
            yield();
        gap.start();
    };
    QElapsedTimer total;
    total.start();
    form.ScanCmd_Click();
    QApplication::processEvents();
    const double seconds = double(total.nsecsElapsed()) / 1e9;
    std::printf("window scan: %.3f s, %d + %d rows, longest pause of the event loop: %.1f ms\n",
                seconds, form.state().sourceRows.size(), form.state().targetRows.size(),
                double(longest) / 1e6);
    form.state().profileEntries.clear();
    return 0;
}
