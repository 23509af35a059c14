// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_json.h"

#include "core/name_bytes.h"

#include "core/plain_text.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

qint64 bytesOf(const ResultListModel& list)
{
    qint64 bytes = 0;
    for (const ResultRow& r : list.rows())
        bytes += r.sizeBytes;
    return bytes;
}

void appendRows(QJsonArray& rows, const ResultListModel& list, int number)
{
    for (const ResultRow& r : list.rows()) {
        rows.append(QJsonObject{{QStringLiteral("list"), number},
                                {QStringLiteral("name"), jsonText(r.name())},
                                {QStringLiteral("source"), jsonText(r.sourceFolder())},
                                {QStringLiteral("target"), jsonText(r.targetFolder())},
                                {QStringLiteral("status"), r.status == ResultRow::Status::NewFile
                                                               ? QStringLiteral("new")
                                                               : QStringLiteral("overwrite")},
                                {QStringLiteral("statusText"), r.statusText()},
                                {QStringLiteral("size"), r.sizeBytes},
                                {QStringLiteral("changedOnBothSides"), r.changedOnBothSides},
                                {QStringLiteral("modified"), isoUtcTime(r.modified)}});
    }
}

} // namespace

QJsonValue jsonText(const QString& text)
{
    // JSON holds Unicode text: a byte of a name that is not UTF-8 shows as U+FFFD.
    return QJsonValue(displayName(text));
}

namespace {

// An error row: its folders and reason, its kind ("write-failed") and the system's error
// number (0 when none).
QJsonObject jsonError(const ErrorRow& e)
{
    return {{QStringLiteral("name"), jsonText(e.fileName)},
            {QStringLiteral("source"), jsonText(e.source)},
            {QStringLiteral("target"), jsonText(e.target)},
            {QStringLiteral("reason"), jsonText(e.error)},
            {QStringLiteral("kind"), QString::fromLatin1(errorKindName(e.kind))},
            {QStringLiteral("errno"), e.errorNumber}};
}

} // namespace

QByteArray runDocument(const QString& command, const AppState& state, const RunResult& result,
                       int exitStatus, const QString& stopped, const QJsonObject& directions)
{
    QJsonArray rows;
    appendRows(rows, state.sourceRows, 1);
    appendRows(rows, state.targetRows, 2);
    QJsonObject totals{{QStringLiteral("sourceFiles"), state.SourceFileCount},
                       {QStringLiteral("sourceSizeKB"), state.SourceSizeKB},
                       {QStringLiteral("sourceBytes"), bytesOf(state.sourceRows)},
                       {QStringLiteral("targetFiles"), state.TargetFileCount},
                       {QStringLiteral("targetSizeKB"), state.TargetSizeKB},
                       {QStringLiteral("targetBytes"), bytesOf(state.targetRows)}};
    QJsonObject document{
        {QStringLiteral("version"), JsonVersion},
        {QStringLiteral("command"), command},
        {QStringLiteral("profile"), jsonText(state.ProfileFileName)},
        {QStringLiteral("exitStatus"), exitStatus},
        {QStringLiteral("stopped"), stopped.isEmpty() ? QJsonValue() : QJsonValue(stopped)},
        {QStringLiteral("rows"), rows}};
    QJsonArray problems; // what the scan could not read or refused
    QJsonArray failures;
    for (const ErrorRow& e : state.errorRows.rows())
        (e.beforeCopies() ? problems : failures).append(jsonError(e));
    document.insert(QStringLiteral("problems"), problems);
    if (command == QLatin1String("sync")) {
        totals.insert(QStringLiteral("filesCopied"), result.filesCopied);
        totals.insert(QStringLiteral("kbCopied"), result.kbCopied);
        totals.insert(QStringLiteral("bytesCopied"), result.bytesCopied);
        totals.insert(QStringLiteral("errors"), result.errors);
        document.insert(QStringLiteral("failures"), failures);
        document.insert(QStringLiteral("directions"), directions);
    }
    document.insert(QStringLiteral("totals"), totals);
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}
