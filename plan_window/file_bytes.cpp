// SPDX-License-Identifier: Apache-2.0
#include "file_bytes.h"

#include <QFile>

#include "safe_file.h"
#include "whole_file.h"

namespace valdris {

Outcome<std::string> ReadFileBytes(const QString& path) {
    return ReadWholeFile(QFile::encodeName(path).toStdString());
}

QString WriteBytes(const QString& path, const std::string& bytes) {
    const Outcome<Done> written = WriteFileSafely(path, [&bytes](QIODevice& file) {
        const auto size = static_cast<qint64>(bytes.size());
        return file.write(bytes.data(), size) == size ? QString() : file.errorString();
    });
    return written ? QString() : QString::fromStdString(written.message());
}

QString UnreadFileMessage(const std::string& what, const QString& path, const std::string& reason) {
    return QString::fromStdString(UnreadFileText(what, path.toStdString(), reason));
}

}  // namespace valdris
