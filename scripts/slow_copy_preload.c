// SPDX-License-Identifier: GPL-3.0-or-later
// A throttle for taking screenshots of a copy in progress: preloaded into the program, it makes
// every copy_file_range and large read move at most 1 MiB and wait 20 ms first (about 50 MB/s).
// Build: cc -shared -fPIC -O2 -o slow_copy.so slow_copy_preload.c -ldl
// Use:   LD_PRELOAD=./slow_copy.so ketrano profile.prf
#define _GNU_SOURCE
#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

static const size_t Step = 1 << 20;

ssize_t copy_file_range(int in, loff_t* inOff, int out, loff_t* outOff, size_t len,
                        unsigned flags)
{
    static ssize_t (*real)(int, loff_t*, int, loff_t*, size_t, unsigned);
    if (!real)
        real = dlsym(RTLD_NEXT, "copy_file_range");
    usleep(20000);
    return real(in, inOff, out, outOff, len < Step ? len : Step, flags);
}

ssize_t read(int fd, void* buffer, size_t len)
{
    static ssize_t (*real)(int, void*, size_t);
    if (!real)
        real = dlsym(RTLD_NEXT, "read");
    if (len >= Step)
        usleep(20000);
    return real(fd, buffer, len < Step ? len : Step);
}
