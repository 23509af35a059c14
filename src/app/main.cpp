// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_option.h"
#include "app/mainform.h"
#include "app/signal_close.h"
#include "app/translations.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// While the window system is being reached, Qt's complaints about a missing display end in an
// abort with a page of advice; the user gets one line and status 1 instead.
QtMessageHandler s_qtMessages = nullptr;

void whileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "ketrano: no display to open the window on (DISPLAY=%s, WAYLAND_DISPLAY=%s); "
                     "for backups without a window use ketrano-cli\n",
                     qEnvironmentVariable("DISPLAY").toLocal8Bit().constData(),
                     qEnvironmentVariable("WAYLAND_DISPLAY").toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    // The platform plugin's warnings that lead up to it say the same at length.
    if (QByteArray(context.category ? context.category : "").startsWith("qt.qpa"))
        return;
    if (s_qtMessages)
        s_qtMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    // A copy larger than the file size limit (ulimit -f) fails with EFBIG and is listed as a
    // failed copy; the signal would end the program in the middle of the run.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const int status = answerHelpOption(argc, argv); status >= 0)
        return status;
    s_qtMessages = qInstallMessageHandler(whileConnecting);
    QApplication app(argc, argv);
    qInstallMessageHandler(s_qtMessages);
    QApplication::setApplicationName(QStringLiteral("ketrano"));
    // The id of the desktop entry and the AppStream data: desktops match windows to it.
    QApplication::setDesktopFileName(QStringLiteral(KETRANO_APP_ID));
    installTranslations();

    // The command line is taken whole: the arguments joined with single blanks.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    MainForm form(commandLine);
    // SIGTERM, SIGINT and SIGHUP close the window through its close handler.
    closeOnTerminationSignals([&form] { form.Form_QueryUnload(true); });
    form.Form_Load();
    return app.exec();
}
