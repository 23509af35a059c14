// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/new_file_times.h"

#include "sync/folder_beneath.h"

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The files of one folder follow each other: each folder is opened once, beneath its root.
void giveTimes(const std::vector<NewFile>& files, size_t from, size_t to)
{
    const QString* folder = nullptr;
    int dir = -1;
    for (size_t i = from; i < to; ++i) {
        const NewFile& f = files[i];
        if (!folder || f.folder != *folder) {
            if (dir >= 0)
                ::close(dir);
            folder = &f.folder;
            // Never through a link that a folder was swapped for since, out of the root.
            dir = openFolderBeneath(f.root, f.folder);
        }
        struct stat st;
        if (dir >= 0 && ::fstatat(dir, f.name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            std::pair(st.st_dev, st.st_ino) == f.file)
            ::utimensat(dir, f.name.constData(), f.times, AT_SYMLINK_NOFOLLOW);
    }
    if (dir >= 0)
        ::close(dir);
}

} // namespace

void giveNewFilesTheirTimes(const std::vector<NewFile>& files)
{
    constexpr size_t ManyFiles = 128;
    if (files.size() < ManyFiles)
        return giveTimes(files, 0, files.size());
    const size_t half = files.size() / 2;
    auto second =
        std::async(std::launch::async, [&files, half] { giveTimes(files, half, files.size()); });
    giveTimes(files, 0, half);
    second.get();
}
