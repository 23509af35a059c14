// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/run_log.h"

#include "core/plain_text.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace RunLog {
namespace {

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString path()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.startsWith(QLatin1Char('/'))) // unset, empty or relative: the default
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/ketrano/runs.log");
}

QString format(const RunRecord& r)
{
    return QStringList{isoUtcTime(r.time ? r.time : std::time(nullptr)),
                       escapeForLine(r.program),
                       escapeForLine(r.profile),
                       QStringLiteral("source-to-target=%1 target-to-source=%2")
                           .arg(onOff(r.sourceToTarget), onOff(r.targetToSource)),
                       QStringLiteral("files=%1").arg(r.filesCopied),
                       QStringLiteral("kb=%1").arg(r.kbCopied),
                       QStringLiteral("errors=%1").arg(r.errors),
                       QStringLiteral("status=%1").arg(r.status)}
        .join(QLatin1Char('\t'));
}

bool append(const RunRecord& record, QString* error)
{
    const QString file = path();
    const QString folder = file.left(file.lastIndexOf(QLatin1Char('/')));
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("%1: cannot create the folder").arg(folder);
        return false;
    }
    const QByteArray line = format(record).toUtf8() + '\n';
    const int fd = ::open(QFile::encodeName(file).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(file, systemError());
        return false;
    }
    QString reason;
    const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
    if (written < 0)
        reason = systemError();
    else if (written != line.size())
        reason = QStringLiteral("the disk is full"); // a short write to a regular file
    if (::close(fd) != 0 && reason.isEmpty())
        reason = systemError();
    if (!reason.isEmpty() && error)
        *error = QStringLiteral("%1: %2").arg(file, reason);
    return reason.isEmpty();
}

bool lastLines(int count, QStringList& lines, QString* error)
{
    lines.clear();
    QFile file(path());
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    const QList<QByteArray> all = file.readAll().split('\n');
    // The text after the last line end is an unfinished line (or nothing): not a run.
    const qsizetype whole = all.size() - 1;
    for (qsizetype i = qMax<qsizetype>(0, whole - count); i < whole; ++i)
        lines << QString::fromUtf8(all[i]);
    return true;
}

} // namespace RunLog
