// SPDX-License-Identifier: Apache-2.0
#include "safe_file.h"

#include <QBuffer>
#include <QFile>

#include <utility>

namespace valdris {
namespace {

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QString RefusalOfName(const QString& path) { return QString::fromStdString(RefusalOfPath(Native(path))); }

bool IsReadOnlyFile(const QString& path) { return IsReadOnlyPath(Native(path)); }

// Made in memory, then written by the one writer: the content's writers (an
// image or PDF writer) would lose the system's reason for a failed write
// ("Unknown error", and libpng a line of its own on standard error).
Outcome<Done> WriteFileSafely(const QString& path, const FileContent& write_content, ReadOnlyFile read_only) {
    const auto content = [&write_content](std::string& bytes) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const QString problem = write_content(buffer);
        bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
        return problem.toStdString();
    };
    std::string reason = WriteContentSafely(path.isEmpty() ? std::string() : Native(path), content, read_only);
    if (reason.empty()) return Done{};
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten, std::move(reason));
}

std::string FileFailureMessage(const std::string& what, const QString& path, const QString& reason) {
    return what + " could not be written to " + path.toStdString() + ": " + reason.toStdString() + ".";
}

}  // namespace valdris
