// SPDX-License-Identifier: Apache-2.0
#include "whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>

#include "safe_file.h"

namespace valdris {

FileBytes ReadWholeFile(const QString& path, const QString& too_large) {
    const QFileInfo info(path);
    if (!info.exists()) return {std::nullopt, QObject::tr("there is no such file")};
    if (!info.isFile()) return {std::nullopt, QObject::tr("it is not a regular file")};
    if (info.size() > kLargestReadFile) return {std::nullopt, too_large};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {std::nullopt, file.errorString()};
    const QByteArray data = file.read(kLargestReadFile + 1);
    if (data.size() > kLargestReadFile) return {std::nullopt, too_large};
    return {data.toStdString(), {}};
}

QString WriteBytes(const QString& path, const std::string& bytes) {
    const Outcome<Done> written = WriteFileSafely(path, [&bytes](QIODevice& file) {
        const auto size = static_cast<qint64>(bytes.size());
        return file.write(bytes.data(), size) == size ? QString() : file.errorString();
    });
    return written ? QString() : QString::fromStdString(written.message());
}

}  // namespace valdris
