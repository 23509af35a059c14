// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_json.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/cli_run.h"
#include "core/path_text.h"
#include "core/plain_text.h"
#include "core/run_lock.h"
#include "sync/versions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>

// ketrano-cli versions PROFILE [PATH]: the versions kept of replaced files; ketrano-cli restore
// PROFILE PATH: puts one back.

namespace {

struct Root
{
    QString path;
    QString side; // "source" or "target"
};

// The roots of the profile's entries, each once.
std::vector<Root> rootsOf(const AppState& state)
{
    std::vector<Root> roots;
    std::set<QString> seen;
    for (const ProfileEntry& e : state.profileEntries.entries())
        for (const Root& r :
             {Root{e.source, QStringLiteral("source")}, Root{e.target, QStringLiteral("target")}})
            if (!r.path.isEmpty() && seen.insert(r.path).second)
                roots.push_back(r);
    return roots;
}

struct Found
{
    KeptVersion version;
    QString side;
};

// The versions below the profile's roots, of PATH when given: a file's path below a root, or
// its whole path.
std::vector<Found> find(const AppState& state, const QString& path)
{
    std::vector<Found> found;
    for (const Root& root : rootsOf(state)) {
        QString relative = path;
        if (path.startsWith(QLatin1Char('/'))) {
            const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')));
            const QString below = folderBelow(root.path, folder.isEmpty() ? "/" : folder);
            if (below.isNull() && folder != root.path)
                continue;
            const QString name = path.section(QLatin1Char('/'), -1);
            relative = below.isEmpty() ? name : below + QLatin1Char('/') + name;
        }
        for (const KeptVersion& v : keptVersions(root.path, relative))
            found.push_back({v, root.side});
    }
    return found;
}

int runVersions(const QCommandLineParser& parser, const QString& profile)
{
    const bool json = parser.isSet(QStringLiteral("json"));
    useLocale(json);
    AppState state;
    if (!loadProfileForCli(profile, state))
        return CliExit::BadInput;
    const QString path = parser.positionalArguments().value(1);
    const std::vector<Found> found = find(state, path);
    if (json) {
        QJsonArray versions;
        for (const Found& f : found)
            versions.append(
                QJsonObject{{QStringLiteral("root"), jsonText(f.version.root)},
                            {QStringLiteral("side"), f.side},
                            {QStringLiteral("run"), f.version.run},
                            {QStringLiteral("runTime"), isoUtcTime(f.version.runTime)},
                            {QStringLiteral("path"), jsonText(f.version.relativePath)},
                            {QStringLiteral("size"), f.version.size},
                            {QStringLiteral("modified"), isoUtcTime(f.version.modified)},
                            {QStringLiteral("file"), jsonText(f.version.path)}});
        const QJsonObject document{{QStringLiteral("version"), JsonVersion},
                                   {QStringLiteral("profile"), jsonText(profile)},
                                   {QStringLiteral("versions"), versions}};
        writeOut(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    } else {
        for (const Found& f : found)
            writeOut(QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                         .arg(f.version.run, f.side, QString::number(f.version.size),
                              isoLocalTime(f.version.modified),
                              escapeForLine(joinPath(f.version.root, f.version.relativePath))));
    }
    flushOut();
    return CliExit::Ok;
}

int runRestore(const QCommandLineParser& parser, const QString& profile)
{
    AppState state;
    useLocale(false);
    if (!loadProfileForCli(profile, state))
        return CliExit::BadInput;
    const QString path = parser.positionalArguments().value(1);
    const QString at = optionValue(parser, QStringLiteral("at"));
    const QString to = optionValue(parser, QStringLiteral("to"));
    if (!to.isEmpty() && !to.startsWith(QLatin1Char('/')))
        return usageError(restoreCommand(), QStringLiteral("--to takes an absolute folder"));
    std::vector<Found> found = find(state, path);
    std::set<QString> files;
    for (const Found& f : found)
        files.insert(joinPath(f.version.root, f.version.relativePath));
    if (files.size() > 1) {
        cliError(QStringLiteral("restore: %1 names files below several roots; give its whole "
                                "path (ketrano-cli versions %2 lists them)")
                     .arg(escapeForLine(path), escapeForLine(profile)));
        return CliExit::BadInput;
    }
    if (!at.isEmpty())
        std::erase_if(found, [&at](const Found& f) { return f.version.run != at; });
    if (found.empty()) {
        cliError(QStringLiteral("restore: no version of %1 is kept%2")
                     .arg(escapeForLine(path),
                          at.isEmpty() ? QString() : QStringLiteral(" from the run of ") + at));
        return CliExit::BadInput;
    }
    // A restore writes into the profile's folders: not while a run of it does.
    const RunLock lock = RunLock::acquire(profile);
    if (lock.heldByAnother()) {
        cliError(lock.refusal(profile));
        return CliExit::Busy;
    }
    const KeptVersion& version = found.back().version; // the newest, or the one asked for
    const Failure failed = restoreVersion(version, to);
    if (failed.failed()) {
        cliError(QStringLiteral("restore of %1 failed: %2")
                     .arg(escapeForLine(version.relativePath), escapeForLine(failed.text)));
        return CliExit::CopyFailed;
    }
    writeOut(QStringLiteral("restored %1 from the run of %2\n")
                 .arg(escapeForLine(to.isEmpty() ? joinPath(version.root, version.relativePath)
                                                 : joinPath(to, version.relativePath.section(
                                                                    QLatin1Char('/'), -1))),
                      version.run));
    flushOut();
    return CliExit::Ok;
}

} // namespace

const CliCommand& versionsCommand()
{
    static const CliCommand command{
        QStringLiteral("versions"),
        QStringLiteral("PROFILE"),
        QStringLiteral("[--json]"),
        QStringLiteral("list the kept versions of replaced files"),
        QStringLiteral(
            "Lists the versions that synchronizations of PROFILE kept of the files they\n"
            "replaced, oldest run first, one line each: the run (its start, local time),\n"
            "the side, the size in bytes, the modification time and the file's path. With\n"
            "PATH only those of that file (its whole path, or its path below a root)."),
        {QCommandLineOption(QStringLiteral("json"),
                            QStringLiteral("one JSON document, the same in every locale"))},
        runVersions,
        {QStringLiteral("[PATH]")}};
    return command;
}

const CliCommand& restoreCommand()
{
    static const CliCommand command{
        QStringLiteral("restore"),
        QStringLiteral("PROFILE"),
        QStringLiteral("[--at RUN] [--to FOLDER]"),
        QStringLiteral("put a kept version of a file back"),
        QStringLiteral(
            "Puts the newest kept version of PATH back in its place (its whole path, or its\n"
            "path below a root of PROFILE); the file it replaces is kept as a version first.\n"
            "--at takes the run of another version (as versions lists it), --to puts it into\n"
            "another folder instead, under its own name, and replaces nothing there."),
        {QCommandLineOption(QStringLiteral("at"),
                            QStringLiteral("the version of this run (\"YYYY-MM-DD HHMMSS\")"),
                            QStringLiteral("RUN")),
         QCommandLineOption(QStringLiteral("to"),
                            QStringLiteral("into this folder instead of the file's place"),
                            QStringLiteral("FOLDER"))},
        runRestore,
        {QStringLiteral("PATH")}};
    return command;
}
