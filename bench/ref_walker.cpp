// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the scan's speed: about the least a program can do to compare two trees.
// Two threads walk one tree each with openat/getdents64/fstatat, keeping each regular file's
// relative path, time and size; then the target's files go into a hash table and every source
// file is looked up in it. It prints how many files are new on each side and how many pairs
// differ in time, so that the work cannot be left out by the compiler.
//
// ref_walker SOURCE TARGET

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct File
{
    std::string path;
    int64_t modified;
    int64_t size;
};

void walk(int fd, std::string& prefix, std::vector<File>& out, std::vector<char>& buffer)
{
    std::vector<std::string> folders;
    for (;;) {
        const long n = ::getdents64(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        for (long at = 0; at < n;) {
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer.data() + at);
            at += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            struct stat st;
            if (::fstatat(fd, name, &st, 0) != 0)
                continue;
            if (S_ISDIR(st.st_mode))
                folders.emplace_back(name);
            else if (S_ISREG(st.st_mode))
                out.push_back({prefix + name, int64_t(st.st_mtim.tv_sec), int64_t(st.st_size)});
        }
    }
    const size_t length = prefix.size();
    for (const std::string& f : folders) {
        const int child = ::openat(fd, f.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (child < 0)
            continue;
        prefix.append(f).push_back('/');
        walk(child, prefix, out, buffer);
        prefix.resize(length);
        ::close(child);
    }
}

std::vector<File> walkTree(const char* root)
{
    std::vector<File> files;
    std::vector<char> buffer(64 * 1024);
    std::string prefix;
    const int fd = ::open(root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        walk(fd, prefix, files, buffer);
        ::close(fd);
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ref_walker SOURCE TARGET\n");
        return 2;
    }
    std::vector<File> target;
    std::thread other([&] { target = walkTree(argv[2]); });
    const std::vector<File> source = walkTree(argv[1]);
    other.join();

    std::unordered_map<std::string_view, uint32_t> byPath(target.size());
    for (uint32_t i = 0; i < target.size(); ++i)
        byPath.emplace(target[i].path, i);
    std::vector<bool> matched(target.size());
    size_t newSource = 0, differ = 0;
    for (const File& f : source) {
        const auto it = byPath.find(f.path);
        if (it == byPath.end()) {
            ++newSource;
            continue;
        }
        matched[it->second] = true;
        differ += target[it->second].modified != f.modified;
    }
    size_t newTarget = 0;
    for (bool m : matched)
        newTarget += !m;
    std::printf("%zu %zu files, %zu new in source, %zu new in target, %zu differ\n", source.size(),
                target.size(), newSource, newTarget, differ);
    return 0;
}
