#include "cli/cli_output.h"

#include "cli/cli_commands.h"
#include "profile/profile_file.h"
#include "results/display_format.h"

#include <QFileInfo>
#include <QLocale>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// The signal handler can reach nothing but statics: the flag of the running command and
// whether Ctrl+C came.
std::atomic<std::atomic<bool>*> s_cancelFlag{nullptr};
volatile std::sig_atomic_t s_interrupted = 0;

extern "C" void onInterrupt(int)
{
    s_interrupted = 1;
    if (std::atomic<bool>* flag = s_cancelFlag.load())
        flag->store(true);
}

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

QStringList rowFields(const ResultRow& r, bool tsv)
{
    return {r.name,
            r.sourceFolder,
            r.targetFolder,
            r.statusText(),
            tsv ? isoLocalTime(r.modified) : formatGeneralDate(r.modified),
            formatKB(r.sizeKB)};
}

void printTsv(const ResultListModel& list, const QString& number)
{
    QString line;
    for (const ResultRow& r : list.rows()) {
        line = number;
        for (const QString& f : rowFields(r, true)) {
            line += QLatin1Char('\t');
            line += tsvEscape(f);
        }
        line += QLatin1Char('\n');
        writeOut(line);
    }
}

void printTable(const ResultListModel& list, const QString& heading)
{
    constexpr int Columns = ResultListModel::ColumnCount;
    std::vector<QStringList> lines;
    QStringList header;
    for (int c = 0; c < Columns; ++c)
        header << ResultListModel::caption(c);
    lines.push_back(header);
    for (const ResultRow& r : list.rows()) {
        QStringList fields = rowFields(r, false);
        for (QString& f : fields)
            f = tsvEscape(f); // keeps each row on one line
        lines.push_back(fields);
    }
    std::array<qsizetype, Columns> width{};
    for (const QStringList& l : lines)
        for (int c = 0; c < Columns; ++c)
            width[size_t(c)] = qMax(width[size_t(c)], l[c].size());
    writeOut(heading + QLatin1Char('\n'));
    for (const QStringList& l : lines) {
        QString text;
        for (int c = 0; c < Columns; ++c) {
            if (c > 0)
                text += QLatin1String("  ");
            if (c == ResultListModel::SizeKB)
                text += l[c].rightJustified(width[size_t(c)]);
            else if (c == Columns - 1)
                text += l[c];
            else
                text += l[c].leftJustified(width[size_t(c)]);
        }
        writeOut(text + QLatin1Char('\n'));
    }
}

} // namespace

void writeOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void useUserLocale()
{
    QLocale::setDefault(QLocale::system());
}

bool loadProfileForCli(const QString& path, AppState& state)
{
    std::vector<ProfileEntry> entries;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        cliError(QStringLiteral("profile file \"%1\" does not exist").arg(path));
        return false;
    }
    if (!ProfileFile::read(path, entries)) {
        cliError(QStringLiteral("cannot read profile file \"%1\"%2")
                     .arg(path, info.isDir() ? QStringLiteral(": it is a folder") : QString()));
        return false;
    }
    state.ProfileFileName = path;
    for (const ProfileEntry& e : entries)
        state.ProfileList.append(e);
    return true;
}

void installInterruptHandler(AppState& state)
{
    s_cancelFlag.store(&state.CancelRequested);
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // a second Ctrl+C ends the program
    sigaction(SIGINT, &action, nullptr);
}

bool interrupted()
{
    return s_interrupted != 0;
}

Callbacks terminalCallbacks(AppState& state)
{
    Callbacks cb;
    cb.toggle = [](int toggle) { return toggle != 1; };
    if (!isatty(STDERR_FILENO))
        return cb;
    auto shown = std::make_shared<bool>(false);
    cb.yield = [&state, shown] {
        const QByteArray text = progressText(state).left(200).toUtf8();
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

QString tsvEscape(const QString& field)
{
    QString out;
    out.reserve(field.size());
    for (QChar c : field) {
        switch (c.unicode()) {
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString isoLocalTime(qint64 utcSeconds)
{
    const std::time_t t = std::time_t(utcSeconds);
    std::tm tm = {};
    if (!localtime_r(&t, &tm))
        return {};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return QString::fromLatin1(buffer);
}

void printResultLists(const AppState& state, bool tsv)
{
    if (tsv) {
        printTsv(state.ListView1, QStringLiteral("1"));
        printTsv(state.ListView2, QStringLiteral("2"));
    } else {
        printTable(state.ListView1, QStringLiteral("Source Files"));
        writeOut(QStringLiteral("\n"));
        printTable(state.ListView2, QStringLiteral("Target Files"));
        writeOut(QStringLiteral("\n"));
    }
    std::fflush(stdout);
}

void printPanels(const AppState& state, bool tsv)
{
    QString text;
    for (const QString& p : state.status.panels) {
        if (tsv)
            text += QLatin1Char('\t') + tsvEscape(p);
        else
            text += tsvEscape(p) + QLatin1Char('\n');
    }
    writeOut(tsv ? QLatin1Char('#') + text + QLatin1Char('\n') : text);
    std::fflush(stdout);
}
