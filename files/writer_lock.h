// SPDX-License-Identifier: Apache-2.0
#pragma once
// A lock that a running program holds on a file it keeps writing (an
// autosave), so that another run can tell a live writer's file from one a
// crash left behind. The lock is an advisory whole-file lock (flock) on
// "<file>.lock", which the system lets go when the holder ends however it
// ends; the lock file names the holder (process id and host) for a person
// looking.

#include <string>

namespace valdris {

// "<path>.lock".
std::string LockPathOf(const std::string& path);

class WriterLock {
public:
    WriterLock() = default;
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    WriterLock(WriterLock&& other) noexcept;
    WriterLock& operator=(WriterLock&& other) noexcept;
    ~WriterLock() { Release(); }

    // Holds the lock of the file at path; false when another writer holds it
    // or the lock file cannot be made (a folder, a link, a read-only folder).
    bool Take(const std::string& path);
    // Lets go, removing the lock file while still holding it.
    void Release();
    bool Held() const { return handle_ >= 0; }
    // The file locked, or empty.
    const std::string& LockedPath() const { return path_; }

private:
    int handle_ = -1;
    std::string path_;
};

// True while a writer holds the lock of the file at path. A lock name that is
// not a regular file counts as held: what is not understood is left alone.
bool WriterAlive(const std::string& path);

}  // namespace valdris
