// SPDX-License-Identifier: Apache-2.0
#include "symbol_label.h"

namespace valdris {
namespace {

// The two letters the shift caption uses, as the Symbol typeface draws them.
constexpr QChar kPlainDelta = u'D';
constexpr QChar kGreekDelta = QChar(0x0394);
constexpr QChar kPlainSigma = u's';
constexpr QChar kGreekSigma = QChar(0x03C3);

}  // namespace

SymbolLabel::SymbolLabel(QWidget* parent) : QLabel(parent) {}

void SymbolLabel::setCaption(const QString& caption) {
    caption_ = caption;
    setText(ToSymbolText(caption));
    // Sized to its text: a longer shift must not be clipped.
    adjustSize();
}

QString SymbolLabel::ToSymbolText(const QString& caption) {
    QString shown = caption;
    for (QChar& c : shown) {
        if (c == kPlainDelta) {
            c = kGreekDelta;
        } else if (c == kPlainSigma) {
            c = kGreekSigma;
        }
    }
    return shown;
}

}  // namespace valdris
