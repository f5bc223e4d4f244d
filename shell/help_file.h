// SPDX-License-Identifier: Apache-2.0
#pragma once
// Reading the help file for the viewer: only an ordinary file, only up to a
// size the viewer shows at once, and only HTML that Qt can lay out quickly.

#include <QString>

namespace valdris {

// Far more than the help file needs (it is some tens of kilobytes), and
// little enough for the viewer to lay out in well under a second.
constexpr qint64 kLargestHelpFile = 256 * 1024;

enum class HelpFileStatus { Read, CannotOpen, NotAFile, TooLarge, TooComplex, ForeignMarkup };

struct HelpFileContents {
    HelpFileStatus status = HelpFileStatus::CannotOpen;
    QString html;  // when read
};

// Opens the path without waiting (a FIFO must not hang the program), takes
// it only if it is a regular file, and reads at most one byte beyond the cap.
HelpFileContents ReadHelpFile(const QString& path);

// Qt lays out tables, nested tables and deeply nested blocks so slowly
// that a few kilobytes of them freeze the viewer for many seconds.
bool HtmlTooComplexToShow(const QString& html);

// The first element or attribute outside the help file's own small subset
// of HTML (headings, paragraphs, lists, links, emphasis, code, simple
// tables), or an empty text. Anything else may load a resource (img, link,
// background) or cost unbounded layout work (style sheets, elements whose
// nesting is not counted), so a file with it is not shown.
QString ForeignHelpMarkup(const QString& html);

// Qt lays out a word too long for any line in time that grows with the
// square of its length (one word of 256 KB: some 20 seconds). So the text
// outside tags gets a place to break (U+200B, which shows nothing) after
// every `longest` characters without a space; an entity counts as one
// character and is never split, nor is a character outside the BMP.
constexpr int kLongestHelpWord = 64;
QString BreakOverLongWords(const QString& html, int longest = kLongestHelpWord);

// The message for a help file that is not shown, naming why.
QString HelpFileProblemMessage(const QString& path, HelpFileStatus status);

}  // namespace valdris
