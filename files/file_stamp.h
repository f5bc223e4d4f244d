// SPDX-License-Identifier: Apache-2.0
#pragma once
// What a file was when the program read or wrote it (its size, its time of
// change and a hash of its bytes), so that a later save can tell whether
// another program has written it since. The hash is FNV-1a (Fowler, Noll and
// Vo), 64 bits: not a guard against malice, only against a missed change that
// kept both size and time.

#include <cstdint>
#include <string>
#include <string_view>

namespace valdris {

struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t changed_ns = 0;
    std::uint64_t hash = 0;
};
inline bool operator==(const FileStamp& a, const FileStamp& b) {
    return a.exists == b.exists && a.size == b.size && a.changed_ns == b.changed_ns && a.hash == b.hash;
}
inline bool operator!=(const FileStamp& a, const FileStamp& b) { return !(a == b); }

// The file at path as it is now, holding these bytes (just read or written).
FileStamp StampOfBytes(const std::string& path, std::string_view bytes);

// The file at path as it is now, read to hash it. A file that is gone has
// exists false; one that cannot be read has a hash no bytes give.
FileStamp StampOfFile(const std::string& path);

}  // namespace valdris
