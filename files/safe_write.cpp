// SPDX-License-Identifier: Apache-2.0
#include "safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace valdris {
namespace {

std::string SystemError(int error) { return std::strerror(error); }

// What an existing target is replaced with: its permissions without the
// set-ID bits, and its owner and group. A new file gets what the user's file
// creation mask allows and belongs to the user.
struct Replacement {
    mode_t mode = 0;
    bool exists = false;
    uid_t owner = 0;
    gid_t group = 0;
    bool read_only = false;
};

bool NoOneMayWrite(const struct stat& status) { return (status.st_mode & 0222) == 0; }

// Why the name cannot be written to, or an empty text when it can. lstat, not
// stat: a link must be seen as the link, not as what it points to.
std::string RefusalOf(const std::string& path, Replacement& replacement) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        const mode_t mask = umask(0);
        umask(mask);
        replacement.mode = 0666 & ~mask;
        return {};
    }
    if (S_ISLNK(status.st_mode)) return "the name is a symbolic link, which is not followed";
    if (!S_ISREG(status.st_mode)) return "the name exists and is not a regular file";
    replacement.mode = status.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID);
    replacement.exists = true;
    replacement.owner = status.st_uid;
    replacement.group = status.st_gid;
    // Root may write anything; a file without any write bit is still one the
    // user marked as not to be changed.
    replacement.read_only = NoOneMayWrite(status) || access(path.c_str(), W_OK) != 0;
    return {};
}

// The owner and group of the replaced file, where the system lets us give
// them; a user who may not keeps the file as their own.
std::string KeepOwner(int handle, const Replacement& replacement) {
    if (!replacement.exists) return {};
    if (fchown(handle, replacement.owner, replacement.group) == 0) return {};
    if (errno == EPERM) return {};
    return SystemError(errno);
}

// Every byte, or the system's reason (a full disk: "No space left on device").
std::string WriteAll(int handle, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(handle, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return SystemError(written < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(written);
    }
    return {};
}

// "dir/.name.XXXXXX" beside the target, for mkstemp.
std::vector<char> TemporaryTemplate(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string text = (slash == std::string::npos ? folder + "/" : folder) + "." + name + ".XXXXXX";
    return std::vector<char>(text.begin(), text.end() + 1);
}

// The new file's owner and mode, and its bytes onto the disk.
std::string FinishTemporary(int handle, const Replacement& replacement, SyncStep sync) {
    // The owner first: changing it clears the set-ID bits, which the mode
    // then leaves out anyway.
    if (std::string owner = KeepOwner(handle, replacement); !owner.empty()) return owner;
    // On the disk before it takes the name, so a crash cannot leave a
    // truncated file in place of a good one.
    if (fchmod(handle, replacement.mode) != 0 || sync(handle) != 0) return SystemError(errno);
    return {};
}

}  // namespace

int SyncToDisk(int handle) { return fsync(handle); }

std::string RefusalOfPath(const std::string& path) {
    Replacement replacement;
    return RefusalOf(path, replacement);
}

bool IsReadOnlyPath(const std::string& path) {
    Replacement replacement;
    return RefusalOf(path, replacement).empty() && replacement.read_only;
}

// The new file is created exclusively, so nothing planted there is written
// through, and renamed over the target once complete. rename() replaces the
// name itself: a link planted after the check is replaced, not followed.
std::string WriteStreamSafely(const std::string& path, const StreamedContent& content, ReadOnlyFile read_only,
                              SyncStep sync) {
    if (path.empty()) return "no file name was given";
    Replacement replacement;
    if (std::string refusal = RefusalOf(path, replacement); !refusal.empty()) return refusal;
    if (replacement.read_only && read_only == ReadOnlyFile::Refuse) {
        return "the file is read-only, so it was not replaced";
    }
    std::vector<char> temporary = TemporaryTemplate(path);
    const int handle = mkstemp(temporary.data());
    if (handle < 0) return SystemError(errno);
    std::string failure = content([handle](std::string_view piece) { return WriteAll(handle, piece); });
    if (failure.empty()) failure = FinishTemporary(handle, replacement, sync);
    if (close(handle) != 0 && failure.empty()) failure = SystemError(errno);
    if (failure.empty() && std::rename(temporary.data(), path.c_str()) != 0) failure = SystemError(errno);
    if (!failure.empty()) unlink(temporary.data());
    return failure;
}

std::string WriteContentSafely(const std::string& path, const ByteContent& content, ReadOnlyFile read_only,
                               SyncStep sync) {
    return WriteStreamSafely(
        path,
        [&content](const ByteSink& write) {
            std::string bytes;
            const std::string failure = content(bytes);
            return failure.empty() ? write(bytes) : failure;
        },
        read_only, sync);
}

// The bytes as they lie, not copied first.
std::string WriteBytesSafely(const std::string& path, std::string_view bytes, ReadOnlyFile read_only,
                             SyncStep sync) {
    return WriteStreamSafely(path, [bytes](const ByteSink& write) { return write(bytes); }, read_only, sync);
}

}  // namespace valdris
