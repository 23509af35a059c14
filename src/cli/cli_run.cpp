// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_run.h"

#include "cli/cli_commands.h"
#include "cli/cli_stop.h"
#include "core/plain_text.h"
#include "profile/profile_file.h"

#include <QFileInfo>
#include <QLocale>

#include <clocale>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

QString progressText(const AppState& state)
{
    QStringList parts;
    for (const QString& p : state.status.panels)
        if (!p.trimmed().isEmpty())
            parts << p.trimmed();
    const int rows = state.ListView1.size() + state.ListView2.size();
    if (state.running == Running::Scan && rows > 0)
        parts << QStringLiteral("%1 + %2 rows")
                     .arg(state.ListView1.size())
                     .arg(state.ListView2.size());
    return parts.join(QLatin1String("  "));
}

} // namespace

void useLocale(bool machineOutput)
{
    if (machineOutput) {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_MESSAGES, "C");
    } else {
        QLocale::setDefault(QLocale::system());
    }
}

bool loadProfileForCli(const QString& path, AppState& state)
{
    std::vector<ProfileEntry> entries;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        cliError(QStringLiteral("profile file \"%1\" does not exist").arg(path));
        return false;
    }
    std::vector<ProfileFile::SkippedRecord> damaged;
    if (!ProfileFile::read(path, entries, &damaged)) {
        cliError(QStringLiteral("cannot read profile file \"%1\"%2")
                     .arg(path, info.isDir() ? QStringLiteral(": it is a folder") : QString()));
        return false;
    }
    // A damaged profile is not run at all: a path cut short or a stray record would steer the
    // run somewhere else than the profile shows.
    for (const ProfileFile::SkippedRecord& r : damaged)
        cliError(QStringLiteral("damaged profile: ") + ProfileFile::describe(path, r));
    if (!damaged.empty())
        return false;
    state.ProfileFileName = path;
    state.unattended = true;
    for (const ProfileEntry& e : entries)
        state.ProfileList.append(e);
    return true;
}

Callbacks terminalCallbacks(AppState& state)
{
    Callbacks cb;
    cb.toggle = [](int toggle) { return toggle != 1; };
    // Scan and Synchronize clear the cancel flag when they start: a stop that came before
    // must still stop them, at their next check.
    const bool terminal = isatty(STDERR_FILENO);
    auto shown = std::make_shared<bool>(false);
    cb.yield = [&state, shown, terminal] {
        if (stopRequested())
            state.CancelRequested = true;
        if (!terminal)
            return;
        const QByteArray text = escapeForLine(progressText(state)).left(200).toUtf8();
        std::fprintf(stderr, "\r\033[K%s", text.constData());
        std::fflush(stderr);
        *shown = true;
    };
    cb.busyChanged = [shown](bool busy) {
        if (!busy && *shown) {
            std::fputs("\r\033[K", stderr);
            std::fflush(stderr);
            *shown = false;
        }
    };
    return cb;
}
