// SPDX-License-Identifier: Apache-2.0
#include "safe_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace valdris {
namespace {

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

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
QString RefusalOf(const QByteArray& path, Replacement& replacement) {
    struct stat status {};
    if (lstat(path.constData(), &status) != 0) {
        const mode_t mask = umask(0);
        umask(mask);
        replacement.mode = 0666 & ~mask;
        return {};
    }
    if (S_ISLNK(status.st_mode)) return QStringLiteral("the name is a symbolic link, which is not followed");
    if (!S_ISREG(status.st_mode)) return QStringLiteral("the name exists and is not a regular file");
    replacement.mode = status.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID);
    replacement.exists = true;
    replacement.owner = status.st_uid;
    replacement.group = status.st_gid;
    // Root may write anything; a file without any write bit is still one the
    // user marked as not to be changed.
    replacement.read_only = NoOneMayWrite(status) || access(path.constData(), W_OK) != 0;
    return {};
}

// The owner and group of the replaced file, where the system lets us give
// them; a user who may not keeps the file as their own.
QString KeepOwner(int handle, const Replacement& replacement) {
    if (!replacement.exists) return {};
    if (fchown(handle, replacement.owner, replacement.group) == 0) return {};
    if (errno == EPERM) return {};
    return SystemError(errno);
}

// Every byte, or the system's reason (a full disk: "No space left on device").
QString WriteAll(int handle, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(handle, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return SystemError(written < 0 ? errno : ENOSPC);
        done += written;
    }
    return {};
}

}  // namespace

QString RefusalOfName(const QString& path) {
    Replacement replacement;
    return RefusalOf(QFile::encodeName(path), replacement);
}

bool IsReadOnlyFile(const QString& path) {
    Replacement replacement;
    return RefusalOf(QFile::encodeName(path), replacement).isEmpty() && replacement.read_only;
}

// The content goes to a new file beside the target (created exclusively, so
// nothing planted there is written through) and is renamed over the target
// once complete. rename() replaces the name itself: a link planted after the
// check is replaced, not followed.
static QString WriteReplacing(const QString& path, const FileContent& write_content, ReadOnlyFile read_only) {
    if (path.isEmpty()) return QStringLiteral("no file name was given");
    const QByteArray native = QFile::encodeName(path);
    Replacement replacement;
    if (const QString refusal = RefusalOf(native, replacement); !refusal.isEmpty()) return refusal;
    if (replacement.read_only && read_only == ReadOnlyFile::Refuse) {
        return QStringLiteral("the file is read-only, so it was not replaced");
    }

    const QFileInfo target(path);
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!file.open()) return file.errorString();
    // Made in memory, then written here: the content's writers (an image or
    // PDF writer) would lose the system's reason for a failed write ("Unknown
    // error", and libpng a line of its own on standard error).
    QBuffer content;
    content.open(QIODevice::WriteOnly);
    if (const QString problem = write_content(content); !problem.isEmpty()) return problem;
    if (const QString failure = WriteAll(file.handle(), content.data()); !failure.isEmpty()) return failure;
    // The owner first: changing it clears the set-ID bits, which the mode
    // then leaves out anyway.
    if (const QString owner = KeepOwner(file.handle(), replacement); !owner.isEmpty()) return owner;
    // On the disk before it takes the name, so a crash cannot leave a
    // truncated file in place of a good one.
    if (fchmod(file.handle(), replacement.mode) != 0 || fsync(file.handle()) != 0) return SystemError(errno);
    if (std::rename(QFile::encodeName(file.fileName()).constData(), native.constData()) != 0) {
        return SystemError(errno);
    }
    file.setAutoRemove(false);
    return {};
}

Outcome<Done> WriteFileSafely(const QString& path, const FileContent& write_content, ReadOnlyFile read_only) {
    const QString reason = WriteReplacing(path, write_content, read_only);
    if (reason.isEmpty()) return Done{};
    return Outcome<Done>::Failure(reason.toStdString());
}

std::string FileFailureMessage(const std::string& what, const QString& path, const QString& reason) {
    return what + " could not be written to " + path.toStdString() + ": " + reason.toStdString() + ".";
}

}  // namespace valdris
