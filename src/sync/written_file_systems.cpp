// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/written_file_systems.h"

#include "core/name_bytes.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

WrittenFileSystems::~WrittenFileSystems()
{
    for (const auto& [device, written] : m_written)
        ::close(written.fd);
}

void WrittenFileSystems::note(dev_t device, int fd, const QString& folder, bool bySyncfs)
{
    if (!bySyncfs)
        m_folders.insert(folder);
    if (m_written.count(device))
        return;
    const int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (kept >= 0)
        m_written.emplace(device, Written{kept, folder});
}

std::vector<WrittenFileSystems::Failure> WrittenFileSystems::flush()
{
    std::vector<Failure> failed;
    for (const auto& [device, written] : m_written)
        if (::syncfs(written.fd) != 0)
            failed.push_back({written.folder, errno});
    for (const QString& folder : m_folders) {
        const QByteArray path = folder.isEmpty() ? QByteArray("/") : nameBytes(folder);
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // A folder gone meanwhile has nothing to flush; one that cannot be flushed by itself
        // (EINVAL) is left to the file system.
        if (fd < 0 && errno != ENOENT)
            failed.push_back({folder, errno});
        if (fd < 0)
            continue;
        if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
            failed.push_back({folder, errno});
        ::close(fd);
    }
    return failed;
}
