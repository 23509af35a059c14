// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/written_file_systems.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

WrittenFileSystems::~WrittenFileSystems()
{
    for (const auto& [device, written] : m_written)
        ::close(written.fd);
}

void WrittenFileSystems::note(dev_t device, int fd, const QString& folder)
{
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
    return failed;
}
