// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_option.h"
#include "app/mainform.h"
#include "app/signal_close.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A copy larger than the file size limit (ulimit -f) fails with EFBIG and is listed as a
    // failed copy; the signal would end the program in the middle of the run.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const int status = answerHelpOption(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ketrano"));
    // The id of the desktop entry and the AppStream data: desktops match windows to it.
    QApplication::setDesktopFileName(QStringLiteral(KETRANO_APP_ID));

    // The command line is taken whole: the arguments joined with single blanks.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    MainForm form(commandLine);
    // SIGTERM, SIGINT and SIGHUP close the window through its close handler.
    closeOnTerminationSignals([&form] { form.Form_QueryUnload(true); });
    form.Form_Load();
    return app.exec();
}
