// SPDX-License-Identifier: Apache-2.0
#include "figure_fit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVariant>
#include <algorithm>

namespace valdris {
namespace {

// Qt's line edit keeps this many pixels free on each side of its text, and
// one more for the cursor, before it starts scrolling.
constexpr int kLineEditSideMargin = 2;
constexpr int kLineEditCursorWidth = 1;
constexpr double kPointStep = 0.25;

constexpr const char* kLayoutFontProperty = "figureLayoutFont";
constexpr const char* kRoomProperty = "figureRoom";

int TextWidth(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The font the field was laid out with, remembered at its first fitting.
QFont LayoutFont(QWidget* field) {
    const QVariant stored = field->property(kLayoutFontProperty);
    if (stored.isValid()) return stored.value<QFont>();
    field->setProperty(kLayoutFontProperty, field->font());
    return field->font();
}

// The layout font at the largest size not above its own whose text fits,
// or at the smallest size.
QFont FittingFont(QFont font, const QString& text, int room) {
    for (double size = font.pointSizeF(); size > kSmallestFigurePointSize; size -= kPointStep) {
        font.setPointSizeF(size);
        if (TextWidth(font, text) <= room) return font;
    }
    font.setPointSizeF(kSmallestFigurePointSize);
    return font;
}

// Draws a label's text with its middle elided when even the smallest font
// leaves it too wide; otherwise the label paints itself.
class ElidingPainter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = qobject_cast<QLabel*>(watched);
        if (!label || event->type() != QEvent::Paint) return false;
        const int room = label->property(kRoomProperty).toInt();
        if (TextWidth(label->font(), label->text()) <= room) return false;
        QPainter painter(label);
        painter.setFont(label->font());
        painter.setPen(label->palette().color(label->foregroundRole()));
        const QString shown = QFontMetrics(label->font()).elidedText(label->text(), Qt::ElideMiddle, room);
        painter.drawText(label->contentsRect(), static_cast<int>(label->alignment()), shown);
        return true;
    }
};

}  // namespace

int FigureRoom(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->contentsRect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditSideMargin - kLineEditCursorWidth;
}

void FitFigure(QLineEdit* field) {
    const QFont font = FittingFont(LayoutFont(field), field->text(), FigureRoom(field));
    if (font != field->font()) field->setFont(font);
    // A changed font leaves the old scroll offset: show the text from its start.
    field->setCursorPosition(0);
}

void FitFigure(QLabel* label, int room) {
    if (room < 0) room = label->contentsRect().width();
    const QFont font = FittingFont(LayoutFont(label), label->text(), room);
    if (font != label->font()) label->setFont(font);
    if (!label->property(kRoomProperty).isValid()) label->installEventFilter(new ElidingPainter(label));
    label->setProperty(kRoomProperty, room);
    const bool elided = TextWidth(font, label->text()) > room;
    label->setToolTip(elided ? label->text() : QString());
    label->update();
}

}  // namespace valdris
