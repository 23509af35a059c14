#pragma once

#include "results/result_row.h"
#include "sync/copy_data.h"
#include "sync/partial_copy_name.h" // isPartialCopyName, for the scan

#include <QString>
#include <functional>
#include <map>
#include <set>
#include <sys/types.h>
#include <utility>
#include <vector>

// The destination as a successful copy left it.
struct CopiedFile
{
    qint64 modified = 0; // seconds since the epoch
    qint64 modifiedNs = 0;
    qint64 sizeBytes = 0;
};

// Copies files so that a destination is never half-written: the data goes into a temporary
// file in the destination folder, gets the source's modification time and permission bits,
// and only then takes the destination's name, in one step. A large file is written into an
// unnamed temporary file (O_TMPFILE), which vanishes with the process if it is killed; a
// small one, copied in a moment, under a hidden name ".<name>.ketrano-partial-XXXXXX", which
// costs ext4 far less to create. Before that the destination is checked to be as the scan
// found it, and a read-only destination is never replaced. Any failure leaves the destination
// as it was and no temporary file behind.
//
// A session serves the copies of one pass: it keeps the source and destination folders of the
// last copy open and remembers what the file systems involved cannot do.
class CopySession
{
public:
    // Files of at least this size use an unnamed temporary file where the file system has one.
    static constexpr qint64 DefaultUnnamedFromBytes = qint64(8) << 20;

    explicit CopySession(qint64 unnamedFromBytes = DefaultUnnamedFromBytes);
    ~CopySession();
    CopySession(const CopySession&) = delete;
    CopySession& operator=(const CopySession&) = delete;

    // Copies row.sourcePath() to row.targetPath(). 'between' runs every few MiB of a large
    // file. Returns a null string on success (and fills 'copied' when given), else what
    // failed and why, for the error list.
    QString copy(const ResultRow& row, const std::function<void()>& between,
                 CopiedFile* copied = nullptr);

    // An open folder, kept while the rows of one folder follow each other.
    struct Folder
    {
        QString path;
        bool opened = false;
        int fd = -1;
        int error = 0;
        dev_t device = 0;
    };

private:
    static int open(Folder& folder, const QString& path);
    int openTemporary(int dir, dev_t device, const QByteArray& name, qint64 size, mode_t mode,
                      QByteArray& tempName);
    int linkUnnamed(int fd, int dir, const QByteArray& name);

    Folder m_source;
    Folder m_target;
    qint64 m_unnamedFrom;
    uid_t m_uid;
    gid_t m_gid;
    int m_umask; // -1: unknown
    bool m_noEmptyPathLink = false;
    std::set<dev_t> m_noUnnamedTemporary;
    std::map<std::pair<dev_t, dev_t>, DataPathCaps> m_caps;
    std::vector<char> m_buffer;
};
