// SPDX-License-Identifier: GPL-3.0-or-later
// Faults of a target file system, injected into a program through LD_PRELOAD: the calls that
// write, flush, close and rename files are caught, and those on the files chosen fail or
// misbehave as a full, slow or lying disk would. Chosen by the environment:
//
//   KETRANO_FAULT_PATH  the files written whose path holds this text (only descriptors open
//                       for writing; folders and files read are left alone)
//   KETRANO_FAULT       close       close() closes, then fails with ENOSPC (NFS, FUSE at flush)
//                       zero-write  write() and pwrite() take nothing and report no error
//                       slow-write  each write() and pwrite() takes 100 ms
//                       fsync       fsync() and fdatasync() fail with EIO
//                       no-holes    lseek() of any file tells of no hole (as FUSE drivers
//                                   without lseek do): SEEK_DATA is where it is asked,
//                                   SEEK_HOLE the end
//                       no-tmpfile  an unnamed file (O_TMPFILE) in a chosen folder is refused
//                                   with EOPNOTSUPP, as FAT, FUSE drivers and network shares
//                                   refuse it
//   KETRANO_FAULT_LOG   a file to which every fsync/fdatasync of a chosen file ("fsync PATH")
//                       and every rename in the program ("rename FROM TO") is appended
//
// copy_file_range on a chosen file answers EXDEV, so that the data goes through pwrite.
// Everything else is passed to the kernel unchanged.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const char* env(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

bool fault(const char* kind)
{
    const char* f = env("KETRANO_FAULT");
    return f && std::strcmp(f, kind) == 0;
}

// The path of an open descriptor, empty when unknown.
void pathOf(int fd, char* out, size_t size)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, out, size - 1);
    out[n > 0 ? n : 0] = 0;
}

bool chosen(int fd)
{
    const char* wanted = env("KETRANO_FAULT_PATH");
    if (!wanted || fd < 0)
        return false;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || (flags & O_PATH) || (flags & O_ACCMODE) == O_RDONLY)
        return false;
    char path[4096];
    pathOf(fd, path, sizeof path);
    return std::strstr(path, wanted) != nullptr;
}

void log(const char* what, const char* a, const char* b = "")
{
    const char* file = env("KETRANO_FAULT_LOG");
    if (!file)
        return;
    const int fd =
        int(::syscall(SYS_openat, AT_FDCWD, file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    if (fd < 0)
        return;
    char line[8400];
    const int n = std::snprintf(line, sizeof line, "%s %s%s%s\n", what, a, *b ? " " : "", b);
    ::syscall(SYS_write, fd, line, size_t(n > 0 ? n : 0));
    ::syscall(SYS_close, fd);
}

// Whether a write of 'count' bytes to fd is to take nothing; a slow write waits first.
bool takesNothing(int fd, size_t count)
{
    if (!chosen(fd))
        return false;
    if (fault("slow-write"))
        ::usleep(100'000);
    return fault("zero-write") && count > 0;
}

int flushed(int fd, long number)
{
    if (chosen(fd)) {
        char path[4096];
        pathOf(fd, path, sizeof path);
        log("fsync", path);
        if (fault("fsync")) {
            errno = EIO;
            return -1;
        }
    }
    return int(::syscall(number, fd));
}

} // namespace

extern "C" {

int openat(int dir, const char* path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = mode_t(va_arg(args, int));
        va_end(args);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE && fault("no-tmpfile") && env("KETRANO_FAULT_PATH")) {
        char folder[4096];
        pathOf(dir, folder, sizeof folder - 1);
        std::strcat(folder, "/");
        if (std::strstr(folder, env("KETRANO_FAULT_PATH"))) {
            errno = EOPNOTSUPP;
            return -1;
        }
    }
    return int(::syscall(SYS_openat, dir, path, flags, mode));
}

int openat64(int dir, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = va_arg(args, int);
    va_end(args);
    return openat(dir, path, flags, mode);
}

int close(int fd)
{
    const bool fails = fault("close") && chosen(fd);
    const int result = int(::syscall(SYS_close, fd));
    if (result == 0 && fails) {
        errno = ENOSPC;
        return -1;
    }
    return result;
}

ssize_t write(int fd, const void* data, size_t count)
{
    return takesNothing(fd, count) ? 0 : ssize_t(::syscall(SYS_write, fd, data, count));
}

ssize_t pwrite(int fd, const void* data, size_t count, off_t offset)
{
    return takesNothing(fd, count) ? 0 : ssize_t(::syscall(SYS_pwrite64, fd, data, count, offset));
}

ssize_t pwrite64(int fd, const void* data, size_t count, off_t offset)
{
    return pwrite(fd, data, count, offset);
}

int fsync(int fd)
{
    return flushed(fd, SYS_fsync);
}

int fdatasync(int fd)
{
    return flushed(fd, SYS_fdatasync);
}

ssize_t copy_file_range(int in, loff_t* inOffset, int out, loff_t* outOffset, size_t count,
                        unsigned int flags)
{
    if (chosen(out)) {
        errno = EXDEV;
        return -1;
    }
    return ssize_t(::syscall(SYS_copy_file_range, in, inOffset, out, outOffset, count, flags));
}

off_t lseek(int fd, off_t offset, int whence)
{
    if (fault("no-holes") && (whence == SEEK_DATA || whence == SEEK_HOLE)) {
        const off_t end = off_t(::syscall(SYS_lseek, fd, 0, SEEK_END));
        if (end < 0 || offset >= end) {
            errno = ENXIO;
            return -1;
        }
        return off_t(::syscall(SYS_lseek, fd, whence == SEEK_DATA ? offset : end, SEEK_SET));
    }
    return off_t(::syscall(SYS_lseek, fd, offset, whence));
}

off_t lseek64(int fd, off_t offset, int whence)
{
    return lseek(fd, offset, whence);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags)
{
    log("rename", from, to);
    return int(::syscall(SYS_renameat2, fromDir, from, toDir, to, flags));
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    return renameat2(fromDir, from, toDir, to, 0);
}

int rename(const char* from, const char* to)
{
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, 0);
}

} // extern "C"
