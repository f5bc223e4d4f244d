// SPDX-License-Identifier: Apache-2.0
#include "pdf_metadata.h"

#include <QRegularExpression>

namespace valdris {

// Qt's writer dates the document "(D:YYYYMMDDHHmmSS" followed by "Z)" or an
// offset "+HH'mm')" of the local time zone. The time made is written in the
// same form and offset, so the length stays.
QByteArray WithMadeTime(QByteArray pdf, const QDateTime& made) {
    static const QRegularExpression kCreationDate(
        QStringLiteral(R"(/CreationDate \(D:(\d{14})(Z|([+-])(\d\d)'(\d\d)')\))"));
    const QRegularExpressionMatch date = kCreationDate.match(QString::fromLatin1(pdf));
    if (!date.hasMatch()) return pdf;
    int offset = 0;
    if (date.captured(2) != QLatin1String("Z")) {
        offset = (date.captured(4).toInt() * 60 + date.captured(5).toInt()) * 60;
        if (date.captured(3) == QLatin1String("-")) offset = -offset;
    }
    const QByteArray stamp = made.toOffsetFromUtc(offset).toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (stamp.size() != 14) return pdf;
    pdf.replace(date.capturedStart(1), 14, stamp);
    return pdf;
}

}  // namespace valdris
