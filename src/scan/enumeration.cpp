// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/enumeration.h"

#include "core/memory_hint.h"
#include "core/name_bytes.h"
#include "core/ui_yield.h"
#include "scan/text_case.h"
#include "scan/wildcard.h"
#include "sync/partial_copy_name.h"
#include "sync/versions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <future>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int OpenFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

// One entry of a folder: its name as text (a place in the folder's decoded names) and as the
// bytes the file system holds (a place in its raw names).
struct Entry
{
    quint32 nameAt;
    quint32 nameLength;
    size_t rawOffset; // of the NUL-terminated name in the folder's raw names
    unsigned char type;
};

// A folder's entries and their names: two buffers a folder, not a string an entry.
struct FolderEntries
{
    std::string raw;
    QString names;
    std::vector<Entry> entries;

    QStringView name(const Entry& e) const
    {
        return QStringView(names).sliced(e.nameAt, e.nameLength);
    }
    const char* rawName(const Entry& e) const { return raw.data() + e.rawOffset; }
};

// An entry that vanished between the listing and the look at it, or a link that leads
// nowhere (dangling, or a loop of links), is no file; anything else that fails is reported.
bool isGone(int error)
{
    return error == ENOENT || error == ELOOP || error == ENOTDIR;
}

QString childPath(const QString& folder, QStringView name)
{
    if (folder.isEmpty())
        return name.toString();
    QString path = folder;
    path += QLatin1Char('/');
    path += name;
    return path;
}

// One recursive walk below a root folder (FindFilesAPI walks one folder and its subfolders).
// It owns everything it uses but the stop flag, the lists it fills and what it found, so it
// may run on a worker thread.
class FileWalk
{
public:
    FileWalk(const std::atomic<bool>& stop, const QStringList& patterns,
             std::vector<FileList>& lists, const std::function<void()>& onEntry, SideWalk& found,
             const FolderId& skip)
        : m_stop(stop), m_onEntry(onEntry), m_lists(lists), m_found(found), m_skip(skip)
    {
        for (const QString& p : patterns)
            m_patterns.emplace_back(p, Wildcard::Dialect::FileName);
    }

    bool cut = false;

    void run(const QString& root)
    {
        if (root.isEmpty())
            return;
        noteAncestors(root);
        const int fd = ::open(nameBytes(root).constData(), OpenFolderFlags);
        if (fd >= 0)
            enter(fd, QString());
        else if (errno != ENOENT)
            m_found.problems.push_back({QString(), true, errno});
    }

private:
    // The folders above the root, "/" included: a link to one of them would walk the whole
    // disk (and /proc, which never ends) or the root again inside itself.
    void noteAncestors(const QString& root)
    {
        char* real = ::realpath(nameBytes(root).constData(), nullptr);
        QByteArray path = real ? QByteArray(real) : QByteArray();
        ::free(real);
        while (path.size() > 1) {
            const qsizetype slash = path.lastIndexOf('/');
            path = slash > 0 ? path.left(slash) : QByteArray("/");
            struct stat st;
            if (::stat(path.constData(), &st) == 0)
                m_open.emplace_back(st.st_dev, st.st_ino);
        }
    }

    // Walks the folder open as fd, unless it is already open higher up (or lies above the
    // root) or is the folder to skip; closes fd.
    void enter(int fd, const QString& relativeFolder)
    {
        struct stat st;
        if (::fstat(fd, &st) != 0) {
            m_found.problems.push_back({relativeFolder, true, errno});
        } else if (m_skip != std::pair(st.st_dev, st.st_ino) &&
                   std::find(m_open.begin(), m_open.end(), std::pair(st.st_dev, st.st_ino)) ==
                       m_open.end()) {
            m_open.emplace_back(st.st_dev, st.st_ino);
            FindFilesAPI(fd, relativeFolder);
            m_open.pop_back();
        }
        ::close(fd);
    }

    void readEntries(int fd, const QString& relativeFolder, FolderEntries& folder);
    void FindFilesAPI(int fd, const QString& relativeFolder);
    void addFile(int fd, const char* rawName, QStringView name, struct stat* known,
                 const QString& relativeFolder);
    void notePartial(int fd, const char* rawName, QStringView name, const QString& relativeFolder);

    const std::atomic<bool>& m_stop;
    const std::function<void()>& m_onEntry;
    std::vector<FileList>& m_lists;
    SideWalk& m_found;
    FolderId m_skip;
    std::vector<Wildcard> m_patterns;
    std::vector<std::pair<dev_t, ino_t>> m_open; // folders of the current walk path
    std::vector<char> m_buffer = std::vector<char>(64 * 1024);
};

// All entries of the folder but "." and "..", sorted by name: ignoring case, then by bytes.
// A read error is reported; the entries read before it are used.
void FileWalk::readEntries(int fd, const QString& relativeFolder, FolderEntries& folder)
{
    std::string& raw = folder.raw;
    QString& names = folder.names;
    for (;;) {
        const ssize_t n = ::getdents64(fd, m_buffer.data(), m_buffer.size());
        if (n < 0) {
            m_found.problems.push_back({relativeFolder, true, errno});
            break;
        }
        if (n == 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* d = reinterpret_cast<const struct dirent64*>(m_buffer.data() + at);
            at += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            const size_t length = std::strlen(name);
            const auto nameAt = quint32(names.size());
            // Most names are ASCII, which needs no decoding and no string of its own.
            if (std::all_of(name, name + length, [](char c) { return uchar(c) < 0x80; }))
                names.append(QLatin1StringView(name, qsizetype(length)));
            else
                names.append(nameText(QByteArrayView(name, qsizetype(length))));
            folder.entries.push_back(
                {nameAt, quint32(names.size() - nameAt), raw.size(), d->d_type});
            raw.append(name, length + 1);
        }
    }
    std::sort(folder.entries.begin(), folder.entries.end(),
              [&folder](const Entry& a, const Entry& b) {
                  const int c = compareIgnoringCase(folder.name(a), folder.name(b));
                  if (c != 0)
                      return c < 0;
                  return std::strcmp(folder.rawName(a), folder.rawName(b)) < 0;
              });
}

void FileWalk::FindFilesAPI(int fd, const QString& relativeFolder)
{
    FolderEntries folder;
    readEntries(fd, relativeFolder, folder);
    const std::vector<Entry>& entries = folder.entries;

    std::vector<size_t> subfolders;
    bool collecting = true;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (collecting) {
            if (m_stop.load(std::memory_order_relaxed)) {
                collecting = false;
                cut = true;
            } else if (m_onEntry) {
                m_onEntry();
            }
        }
        const Entry& e = entries[i];
        const QStringView name = folder.name(e);
        // The program's own folder of versions below the root is no part of the data.
        if (relativeFolder.isEmpty() && name == VersionsFolder)
            continue;
        const char* rawName = folder.rawName(e);
        unsigned char type = e.type;
        struct stat st;
        struct stat* known = nullptr;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            if (::fstatat(fd, rawName, &st, 0) != 0) {
                if (!isGone(errno))
                    m_found.problems.push_back({childPath(relativeFolder, name), false, errno});
                continue;
            }
            known = &st;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR && collecting) {
            subfolders.push_back(i);
            m_found.folders.append(relativeFolder, name);
        } else if (type == DT_REG && rawName[0] == '.' && isPartialCopyName(name))
            notePartial(fd, rawName, name, relativeFolder); // a copy cut short is no file
        else if (type == DT_REG)
            addFile(fd, rawName, name, known, relativeFolder);
    }

    for (size_t i : subfolders) {
        const Entry& e = entries[i];
        const QString child = childPath(relativeFolder, folder.name(e));
        const int childFd = ::openat(fd, folder.rawName(e), OpenFolderFlags);
        if (childFd >= 0)
            enter(childFd, child);
        else if (!isGone(errno))
            m_found.problems.push_back({child, true, errno});
    }
}

void FileWalk::addFile(int fd, const char* rawName, QStringView name, struct stat* known,
                       const QString& relativeFolder)
{
    struct stat st;
    for (size_t k = 0; k < m_patterns.size(); ++k) {
        if (!m_patterns[k].matches(name))
            continue;
        if (!known) {
            if (::fstatat(fd, rawName, &st, 0) != 0) {
                if (!isGone(errno))
                    m_found.problems.push_back({childPath(relativeFolder, name), false, errno});
                return;
            }
            if (!S_ISREG(st.st_mode))
                return;
            known = &st;
        }
        m_lists[k].append(relativeFolder, name, qint64(known->st_mtim.tv_sec),
                          qint32(known->st_mtim.tv_nsec), qint64(known->st_size));
        m_found.filesSoFar.fetch_add(1, std::memory_order_relaxed);
    }
}

void FileWalk::notePartial(int fd, const char* rawName, QStringView name,
                           const QString& relativeFolder)
{
    struct stat st;
    if (::fstatat(fd, rawName, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        m_found.partials.push_back({relativeFolder, name.toString(), qint64(st.st_mtim.tv_sec)});
}

void keepRootFilesOnly(FileList& list)
{
    list.eraseIf([&list](const FileLine& l) { return !list.folder(l).isEmpty(); });
}

void appendLines(FileList& to, FileList& from)
{
    to.take(from);
}

} // namespace

FolderId folderIdOf(const QString& path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(nameBytes(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return std::pair(st.st_dev, st.st_ino);
}

bool ListFiles(const std::atomic<bool>& stop, const QString& root, const QStringList& patterns,
               std::vector<FileList>& lists, const std::function<void()>& onEntry, SideWalk* found,
               const FolderId& skip)
{
    lists.resize(size_t(patterns.size()));
    SideWalk ignored;
    FileWalk walk(stop, patterns, lists, onEntry, found ? *found : ignored, skip);
    walk.run(root);
    return walk.cut;
}

void enumerateEntry(AppState& state, const Callbacks& cb, const QString& source,
                    const QString& target, const QStringList& patterns, FileList& FilesList1,
                    FileList& FilesList2, SideWalk& sourceFound, SideWalk& targetFound, int entry)
{
    for (qsizetype k = 0; k < patterns.size(); ++k)
        uiYield(state.control, cb);
    // A root inside the other is left out of the other's walk, so nothing nests.
    const FolderId sourceId = folderIdOf(source);
    const FolderId targetId = folderIdOf(target);
    // The two folders are walked side by side on worker threads, which touch nothing but
    // their own lists, what they found and the stop flag; this thread keeps the window
    // responsive meanwhile.
    std::vector<FileList> sourceLists;
    std::vector<FileList> targetLists;
    const std::atomic<bool>& stop = state.control.CancelRequested;
    auto walk = [&stop, &patterns](const QString& root, std::vector<FileList>& lists,
                                   SideWalk& found, const FolderId& skip) {
        return ListFiles(stop, root, patterns, lists, {}, &found, skip);
    };
    // The source's walk on a thread of its own, the target's on another while this thread
    // waits for both (without a free thread a walk runs here).
    const auto [sourceCut, targetCut] = whileWaiting(
        [&] {
            constexpr auto policy = std::launch::async | std::launch::deferred;
            std::future<bool> targetWalk =
                std::async(policy, walk, std::cref(target), std::ref(targetLists),
                           std::ref(targetFound), std::cref(sourceId));
            const bool sourceCut = walk(source, sourceLists, sourceFound, targetId);
            return std::pair(sourceCut, targetWalk.get());
        },
        [&] {
            // How far the walks are, for whoever watches (read while they go on).
            if (uiYieldDue(state.control))
                emitEvent(cb,
                          {.type = RunEvent::FilesFound,
                           .entry = entry,
                           .count = sourceFound.filesSoFar.load(std::memory_order_relaxed),
                           .otherCount = targetFound.filesSoFar.load(std::memory_order_relaxed)});
            uiYield(state.control, cb);
        });
    emitEvent(cb, {.type = RunEvent::FilesFound,
                   .entry = entry,
                   .count = sourceFound.filesSoFar,
                   .otherCount = targetFound.filesSoFar});

    // Walk by walk (source 1, target 1, source 2, ...), a stop inside one walk leaves every
    // later walk with the files of its root folder only.
    for (size_t k = 0; k < sourceLists.size(); ++k) {
        if (sourceCut || targetCut) {
            if (k > 0)
                keepRootFilesOnly(sourceLists[k]);
            if (k > 0 || sourceCut)
                keepRootFilesOnly(targetLists[k]);
        }
        appendLines(FilesList1, sourceLists[k]);
        appendLines(FilesList2, targetLists[k]);
    }
}
