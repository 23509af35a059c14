// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/run_profile.h"

#include <QJsonObject>
#include <QJsonValue>

// The --json output of scan and sync: one JSON document per run, the same bytes whatever the
// locale and the time zone (sizes in bytes, times in ISO 8601 UTC, the engine's own texts).
//
//   { "command": "scan" | "sync", "profile": PATH, "exitStatus": N, "stopped": null | CAUSE,
//     "rows": [ { "list": 1 | 2, "name", "source", "target", "status": "New File" |
//                 "OverWrite", "size": BYTES, "modified": "2001-09-09T01:46:40Z" } ],
//     "totals": { "sourceFiles", "sourceSizeKB", "targetFiles", "targetSizeKB",
//                 and for sync "filesCopied", "kbCopied", "errors" },
//     sync only: "directions": { "sourceToTarget": { "on": BOOL, "from": TEXT },
//                                "targetToSource": { ... } },
//                "failures": [ { "name", "source", "target", "reason", "kind", "errno" } ] }
//   "problems" (what the scan could not read or refused) holds the same objects.

// A file name, folder or reason as JSON text. The one place where names become JSON.
QJsonValue jsonText(const QString& text);

// The document of a scan (directions empty) or a sync run, as indented UTF-8 JSON.
QByteArray runDocument(const QString& command, const AppState& state, const RunResult& result,
                       int exitStatus, const QString& stopped, const QJsonObject& directions = {});
