// SPDX-License-Identifier: Apache-2.0
#include "safe_file.h"

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

// Why the name cannot be written to, or an empty text when it can, and the
// mode the new file gets. lstat, not stat: a link must be seen as the link,
// not as what it points to.
QString RefusalOf(const QByteArray& path, mode_t& mode) {
    struct stat status {};
    if (lstat(path.constData(), &status) != 0) {
        // A new file gets what the user's file creation mask allows.
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
        return {};
    }
    if (S_ISLNK(status.st_mode)) return QStringLiteral("the name is a symbolic link, which is not followed");
    if (!S_ISREG(status.st_mode)) return QStringLiteral("the name exists and is not a regular file");
    mode = status.st_mode & 07777;  // a replaced file keeps its permissions
    return {};
}

}  // namespace

QString RefusalOfName(const QString& path) {
    mode_t mode = 0;
    return RefusalOf(QFile::encodeName(path), mode);
}

// The content goes to a new file beside the target (created exclusively, so
// nothing planted there is written through) and is renamed over the target
// once complete. rename() replaces the name itself: a link planted after the
// check is replaced, not followed.
QString WriteFileSafely(const QString& path, const FileContent& write_content) {
    if (path.isEmpty()) return QStringLiteral("no file name was given");
    const QByteArray native = QFile::encodeName(path);
    mode_t mode = 0;
    if (const QString refusal = RefusalOf(native, mode); !refusal.isEmpty()) return refusal;

    const QFileInfo target(path);
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!file.open()) return file.errorString();
    const QString problem = write_content(file);
    if (!problem.isEmpty()) return problem;
    if (!file.flush()) return file.errorString();
    // On the disk before it takes the name, so a crash cannot leave a
    // truncated file in place of a good one.
    if (fchmod(file.handle(), mode) != 0 || fsync(file.handle()) != 0) return SystemError(errno);
    if (std::rename(QFile::encodeName(file.fileName()).constData(), native.constData()) != 0) {
        return SystemError(errno);
    }
    file.setAutoRemove(false);
    return {};
}

std::string FileFailureMessage(const std::string& what, const QString& path, const QString& reason) {
    return what + " could not be written to " + path.toStdString() + ": " + reason.toStdString() + ".";
}

}  // namespace valdris
