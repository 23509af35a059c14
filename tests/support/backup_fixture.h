// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/cli_run.h"
#include "support/temp_tree.h"
#include "support/tree_snapshot.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A backup as ketrano-cli runs it from cron: one profile entry from src to dst in a fresh
// folder (on a RAM file system where there is one: large files are quick to write), the
// settings and state of the test's own.
class BackupFixture : public ::testing::Test
{
protected:
    explicit BackupFixture(const char* name)
        : dir((QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/") : QDir::tempPath() + '/') +
              name + QStringLiteral("-XXXXXX"))
    {}
    void SetUp() override;
    // QTemporaryDir cannot remove names that are not UTF-8; their bytes can.
    void TearDown() override;

    QString path(const QString& rel) const { return dir.filePath(rel); }
    QString src(const QString& rel = {}) const { return path("src" + rel); }
    QString dst(const QString& rel = {}) const { return path("dst" + rel); }
    static void put(const QString& file, const QByteArray& data, qint64 mtime = 1'600'000'000)
    {
        TempTree::write(file, data, mtime);
    }
    // A quiet sync after the fault is gone: exit 0, both trees equal, no partial copy left.
    void expectSettled() const;

    QTemporaryDir dir;
    QString profile = path("backup.prf");
};
