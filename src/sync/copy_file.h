#pragma once

#include "results/result_row.h"
#include "sync/copy_data.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <map>
#include <set>
#include <sys/types.h>
#include <utility>
#include <vector>

// Copies one file to its destination so that the destination is never half-written: the data
// goes into an unnamed temporary file in the destination folder (or, where the file system has
// none, a hidden one named ".<name>.ketrano-partial-XXXXXX"), gets the source's modification
// time and permission bits, and only then takes the destination's name. Before that the
// destination is checked to be as the scan found it, and a read-only destination is never
// replaced. Any failure leaves the destination as it was and no temporary file behind.
//
// The destination as a successful copy left it.
struct CopiedFile
{
    qint64 modified = 0; // seconds since the epoch
    qint64 modifiedNs = 0;
    qint64 sizeBytes = 0;
};

// A session serves the copies of one pass: it keeps the destination folder of the last copy
// open and remembers what the file systems involved cannot do.
class CopySession
{
public:
    // unnamedTemporaries false: always use hidden temporary names, as on file systems
    // without O_TMPFILE.
    explicit CopySession(bool unnamedTemporaries = true) : m_unnamed(unnamedTemporaries) {}
    ~CopySession();
    CopySession(const CopySession&) = delete;
    CopySession& operator=(const CopySession&) = delete;

    // Copies row.sourcePath() to row.targetPath(). 'between' runs every few MiB of a large
    // file. Returns a null string on success (and fills 'copied' when given), else what
    // failed and why, for the error list.
    QString copy(const ResultRow& row, const std::function<void()>& between,
                 CopiedFile* copied = nullptr);

private:
    int folder(const QString& path);
    int openTemporary(int dir, const QByteArray& name, QByteArray& tempName);
    int linkUnnamed(int fd, int dir, const QByteArray& name);

    QString m_folder;
    int m_folderFd = -1;
    int m_folderError = 0;
    dev_t m_folderDevice = 0;
    bool m_unnamed = true;
    bool m_noEmptyPathLink = false;
    std::set<dev_t> m_noUnnamedTemporary;
    std::map<std::pair<dev_t, dev_t>, DataPathCaps> m_caps;
    std::vector<char> m_buffer;
};

// True for the hidden name of a copy in progress (or of one whose process was killed): such
// files are no user files and are not listed by a scan.
bool isPartialCopyName(QStringView name);
