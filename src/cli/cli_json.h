// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/run_profile.h"

#include <QJsonObject>
#include <QJsonValue>

// The --json output of ketrano-cli: every document is one object whose "version" tells its
// layout; a reader may rely on the keys of its version, and later versions only add keys.
constexpr int JsonVersion = 1;

// The document of scan and sync: one per run, the same bytes whatever the locale and the time
// zone (sizes in bytes, times in ISO 8601 UTC, the engine's own texts).
//
//   { "version": 1, "command": "scan" | "sync", "profile": PATH, "exitStatus": N,
//     "stopped": null | CAUSE,
//     "rows": [ { "list": 1 | 2, "name", "source", "target", "status": "new" | "overwrite",
//                 "statusText": "New File" | "OverWrite" (as the window shows it),
//                 "size": BYTES, "changedOnBothSides": BOOL,
//                 "modified": "2001-09-09T01:46:40Z" } ],
//     "totals": { "sourceFiles", "sourceSizeKB", "sourceBytes", "targetFiles",
//                 "targetSizeKB", "targetBytes",
//                 and for sync "filesCopied", "kbCopied", "bytesCopied", "errors" },
//     sync only: "directions": { "sourceToTarget": { "on": BOOL, "from": TEXT },
//                                "targetToSource": { ... } },
//                "failures": [ { "name", "source", "target", "reason", "kind", "errno" } ] }
//   "problems" (what the scan could not read or refused) holds the same objects.

// A file name, folder or reason as JSON text. The one place where names become JSON.
QJsonValue jsonText(const QString& text);

// The document of a scan (directions empty) or a sync run, as indented UTF-8 JSON.
QByteArray runDocument(const QString& command, const AppState& state, const RunResult& result,
                       int exitStatus, const QString& stopped, const QJsonObject& directions = {});
