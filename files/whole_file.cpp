// SPDX-License-Identifier: Apache-2.0
#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "filled_memory.h"

namespace valdris {
namespace {

std::string TooLarge(std::size_t largest) {
    const bool megabytes = largest >= (std::size_t{1} << 20);
    return "it is too large (more than " + std::to_string(megabytes ? largest >> 20 : largest >> 10) +
           (megabytes ? " MB)" : " KB)");
}

// Closes the descriptor on every way out.
class OpenFile {
public:
    explicit OpenFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

std::string SystemReason(int error) {
    return error == ENOENT ? "there is no such file" : std::strerror(error);
}

// Every refusal of the reader is built here.
Outcome<std::string> Unread(std::string reason, RefusalKind kind = RefusalKind::FileUnreadable) {
    return Outcome<std::string>::Failure(kind, std::move(reason));
}

// At most one byte beyond the cap, so that a file grown since it was
// measured is still refused as too large. The text is read straight into
// room for the size measured and a byte more (the byte that tells a file
// grown since), so a large file is neither copied nor moved as it arrives.
Outcome<std::string> ReadAll(int fd, std::size_t measured, std::size_t largest) {
    std::string bytes;
    std::size_t filled = 0;
    std::size_t room = std::min(std::max(measured, std::size_t{4095}), largest) + 1;
    for (;;) {
        if (filled == bytes.size()) {
            bytes.reserve(room);
            PagesAhead(bytes.data(), room).Reach(room);
            bytes.resize(room);
            room = std::min(room * 2, largest + 1);
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Unread(SystemReason(errno));
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
        if (filled > largest) return Unread(TooLarge(largest), RefusalKind::FileTooLarge);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace

Outcome<std::string> ReadWholeFile(const std::string& path, std::size_t largest) {
    const OpenFile file(path);
    if (file.fd() < 0) return Unread(SystemReason(errno));
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0) return Unread(SystemReason(errno));
    if (!S_ISREG(status.st_mode)) return Unread("it is not a regular file", RefusalKind::FileNotRegular);
    if (static_cast<unsigned long long>(status.st_size) > largest) {
        return Unread(TooLarge(largest), RefusalKind::FileTooLarge);
    }
    // Regular files never block; reading waits for the disk as usual.
    ::fcntl(file.fd(), F_SETFL, ::fcntl(file.fd(), F_GETFL) & ~O_NONBLOCK);
    Outcome<std::string> bytes = ReadAll(file.fd(), static_cast<std::size_t>(status.st_size), largest);
    if (bytes && bytes->find('\0') != std::string::npos) return Unread("it holds a NUL byte", RefusalKind::FileHoldsNul);
    return bytes;
}

std::string UnreadFileText(const std::string& what, const std::string& path, const std::string& reason) {
    return what + " could not be read from " + path + ": " + reason + ".";
}

}  // namespace valdris
