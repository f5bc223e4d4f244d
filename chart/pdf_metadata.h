// SPDX-License-Identifier: Apache-2.0
#pragma once
// The parts of a PDF from Qt's writer that change from run to run.

#include <QByteArray>
#include <QDateTime>

namespace valdris {

// The PDF with its creation date set to made and its document identifiers
// derived from its content, each written over the writer's own in place
// (same length, so every offset in the file stays right).
QByteArray WithMadeTime(QByteArray pdf, const QDateTime& made);

}  // namespace valdris
