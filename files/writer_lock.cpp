// SPDX-License-Identifier: Apache-2.0
#include "writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace valdris {
namespace {

bool IsRegular(int handle) {
    struct stat info {};
    return ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
}

// A checker holds the lock shared for a moment: a writer starting just then
// tries again rather than taking the file for another's.
bool LockWithRetries(int handle) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        ::usleep(1000);
    }
    return false;
}

std::string HolderText() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return std::to_string(::getpid()) + "@" + host + "\n";
}

}  // namespace

std::string LockPathOf(const std::string& path) { return path + ".lock"; }

WriterLock::WriterLock(WriterLock&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

WriterLock& WriterLock::operator=(WriterLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = std::exchange(other.handle_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool WriterLock::Take(const std::string& path) {
    Release();
    const std::string lock = LockPathOf(path);
    const int handle = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (handle < 0) return false;
    if (!IsRegular(handle) || !LockWithRetries(handle)) {
        ::close(handle);
        return false;
    }
    const std::string holder = HolderText();
    if (::ftruncate(handle, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(handle, holder.data(), holder.size(), 0);
    }
    handle_ = handle;
    path_ = path;
    return true;
}

void WriterLock::Release() {
    if (handle_ < 0) return;
    ::unlink(LockPathOf(path_).c_str());
    ::close(handle_);
    handle_ = -1;
    path_.clear();
}

bool WriterAlive(const std::string& path) {
    const int handle = ::open(LockPathOf(path).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return errno != ENOENT;
    bool alive = true;
    if (IsRegular(handle) && ::flock(handle, LOCK_SH | LOCK_NB) == 0) {
        ::flock(handle, LOCK_UN);
        alive = false;
    }
    ::close(handle);
    return alive;
}

}  // namespace valdris
