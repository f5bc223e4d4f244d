// SPDX-License-Identifier: Apache-2.0
#include "file_stamp.h"

#include <sys/stat.h>

#include "whole_file.h"

namespace valdris {
namespace {

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// Size and time from the name itself (a link is not followed: the plan's
// name being made a link is a change too).
bool Stat(const std::string& path, FileStamp& stamp) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    stamp.exists = true;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.changed_ns = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return true;
}

}  // namespace

FileStamp StampOfBytes(const std::string& path, std::string_view bytes) {
    FileStamp stamp;
    if (Stat(path, stamp)) stamp.hash = Fnv1a(bytes);
    return stamp;
}

FileStamp StampOfFile(const std::string& path) {
    FileStamp stamp;
    if (!Stat(path, stamp)) return stamp;
    const Outcome<std::string> bytes = ReadWholeFile(path);
    // Unreadable now (grown past the limit, made a folder): a hash that the
    // bytes read before are most unlikely to have, so it counts as changed.
    stamp.hash = bytes ? Fnv1a(*bytes) : ~Fnv1a({});
    return stamp;
}

}  // namespace valdris
