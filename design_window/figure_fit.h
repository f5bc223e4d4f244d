// SPDX-License-Identifier: Apache-2.0
#pragma once
// Figures in fields of fixed width (the sample sizes, the critical value, the
// shift, the DCGL at the end of the bar) are read in full or not at all: a
// figure too wide for its field is drawn in a smaller size of the field's own
// font, down to kSmallestFigurePointSize. A label whose text no size fits (a
// DCGL text may be of any length) is drawn with its middle replaced by an
// ellipsis, which no number contains, and carries the whole text in its
// tooltip; its text itself is kept whole.

class QLabel;
class QLineEdit;

namespace valdris {

constexpr double kSmallestFigurePointSize = 6.0;

// Width available to the text of a line edit: its contents less frame, text
// margins and the side margins the line edit keeps; a wider text scrolls.
int FigureRoom(const QLineEdit* field);

// Fit the field's current text to it, starting from the font the field had
// when first fitted. Call after each change of the text.
void FitFigure(QLineEdit* field);
// A label fits its figure to room pixels (its contents width by default).
void FitFigure(QLabel* label, int room = -1);

}  // namespace valdris
