// SPDX-License-Identifier: Apache-2.0
#include "temporary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace valdris {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// "dir/.name.XXXXXX" beside the target, for mkstemp.
std::string TemporaryTemplate(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = FolderOf(path);
    return (slash == std::string::npos ? folder + "/" : folder) + "." + name + ".XXXXXX";
}

std::string ProcessPath(int handle) { return "/proc/self/fd/" + std::to_string(handle); }

// An unnamed file in the target's folder, or -1 where the file system (or a
// missing /proc, through which it is later named) does not allow one.
int OpenUnnamed(const std::string& target) {
#ifdef O_TMPFILE
    const int handle = open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (handle < 0) return -1;
    if (access(ProcessPath(handle).c_str(), F_OK) == 0) return handle;
    close(handle);
#else
    (void)target;
#endif
    return -1;
}

// A fresh name for the unnamed file; a name taken meanwhile is passed over.
std::string GiveName(int handle, const std::string& target) {
    const std::string pattern = TemporaryTemplate(target);
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::string name = pattern;
        for (std::size_t i = name.size() - 6; i < name.size(); ++i) name[i] = letters[pick(device)];
        if (linkat(AT_FDCWD, ProcessPath(handle).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return name;
        }
        error = errno;
    }
    errno = error;
    return {};
}

}  // namespace

TemporaryFile OpenTemporaryBeside(const std::string& target, TemporaryNaming naming) {
    TemporaryFile file;
    file.target = target;
    if (naming == TemporaryNaming::UnnamedWherePossible) file.handle = OpenUnnamed(target);
    if (file.handle >= 0) return file;
    std::string name = TemporaryTemplate(target);
    file.handle = mkstemp(name.data());
    if (file.handle >= 0) file.name = name;
    return file;
}

// Closed before the rename, as a failing close may be the first word of a
// failed write on some file systems.
std::string PutInPlace(TemporaryFile& file) {
    std::string failure;
    if (file.name.empty()) {
        file.name = GiveName(file.handle, file.target);
        if (file.name.empty()) failure = std::strerror(errno);
    }
    if (close(file.handle) != 0 && failure.empty()) failure = std::strerror(errno);
    file.handle = -1;
    if (failure.empty() && std::rename(file.name.c_str(), file.target.c_str()) != 0) failure = std::strerror(errno);
    if (!failure.empty() && !file.name.empty()) unlink(file.name.c_str());
    file.name.clear();
    return failure;
}

void Discard(TemporaryFile& file) {
    if (file.handle >= 0) close(file.handle);
    if (!file.name.empty()) unlink(file.name.c_str());
    file.handle = -1;
    file.name.clear();
}

}  // namespace valdris
