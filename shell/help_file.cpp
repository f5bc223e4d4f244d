// SPDX-License-Identifier: Apache-2.0
#include "help_file.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <string>

#include "context_ids.h"
#include "whole_file.h"

namespace valdris {
namespace {

// Limits found by timing QTextBrowser: each one keeps the layout of a file
// within the size cap short.
constexpr int kDeepestNesting = 32;
constexpr int kDeepestTables = 2;
constexpr int kMostTableCells = 1000;
constexpr int kMostTableText = 32 * 1024;  // characters inside tables

// Elements whose end tag HTML requires, so that their nesting can be counted
// from the tags alone (paragraphs, list items and cells may be left open).
const QSet<QString>& ClosedElements() {
    static const QSet<QString> names = {
        QStringLiteral("div"),  QStringLiteral("table"), QStringLiteral("ul"),     QStringLiteral("ol"),
        QStringLiteral("dl"),   QStringLiteral("blockquote"), QStringLiteral("span"), QStringLiteral("b"),
        QStringLiteral("i"),    QStringLiteral("u"),     QStringLiteral("em"),     QStringLiteral("strong"),
        QStringLiteral("font"), QStringLiteral("a"),     QStringLiteral("center"), QStringLiteral("pre"),
        QStringLiteral("code"), QStringLiteral("small"), QStringLiteral("big"),    QStringLiteral("sub"),
        QStringLiteral("sup"),  QStringLiteral("h1"),    QStringLiteral("h2"),     QStringLiteral("h3"),
        QStringLiteral("h4"),   QStringLiteral("h5"),    QStringLiteral("h6"),     QStringLiteral("s"),
        QStringLiteral("tt"),   QStringLiteral("q"),     QStringLiteral("dfn"),    QStringLiteral("kbd"),
        QStringLiteral("var"),  QStringLiteral("samp"),  QStringLiteral("cite"),   QStringLiteral("abbr"),
        QStringLiteral("html"), QStringLiteral("head"),  QStringLiteral("title"),  QStringLiteral("body"),
    };
    return names;
}

// Elements that may be left open or have no end tag; their nesting costs
// Qt nothing to lay out.
const QSet<QString>& OpenElements() {
    static const QSet<QString> names = {
        QStringLiteral("meta"), QStringLiteral("p"),    QStringLiteral("br"),    QStringLiteral("hr"),
        QStringLiteral("li"),   QStringLiteral("dt"),   QStringLiteral("dd"),    QStringLiteral("tr"),
        QStringLiteral("td"),   QStringLiteral("th"),   QStringLiteral("thead"), QStringLiteral("tbody"),
    };
    return names;
}

// Attributes of the subset: links, anchors, the character set, plain table
// and list presentation and a plain inline style (see IsPlainStyle). None
// names a resource, and none multiplies the layout (no spans, no widths).
const QSet<QString>& Attributes() {
    static const QSet<QString> names = {
        QStringLiteral("href"),   QStringLiteral("name"),        QStringLiteral("id"),
        QStringLiteral("charset"), QStringLiteral("content"),    QStringLiteral("http-equiv"),
        QStringLiteral("lang"),   QStringLiteral("dir"),         QStringLiteral("title"),
        QStringLiteral("class"),  QStringLiteral("border"),      QStringLiteral("cellpadding"),
        QStringLiteral("cellspacing"), QStringLiteral("align"),  QStringLiteral("valign"),
        QStringLiteral("type"),    QStringLiteral("plain-style"),
    };
    return names;
}

// An inline style of the subset: colours and vertical margins only, each a
// short value naming no resource. Style sheets and other properties can
// cost Qt's layout without bound.
bool IsPlainStyle(const QString& style) {
    static const QSet<QString> properties = {
        QStringLiteral("color"), QStringLiteral("background-color"), QStringLiteral("margin-top"),
        QStringLiteral("margin-bottom"),
    };
    constexpr int kLongestValue = 16;
    for (const QString& declaration : style.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString property = declaration.section(QLatin1Char(':'), 0, 0).trimmed().toLower();
        const QString value = declaration.section(QLatin1Char(':'), 1).trimmed();
        if (!properties.contains(property) || value.size() > kLongestValue || value.contains(QLatin1Char('('))) {
            return false;
        }
    }
    return true;
}

// The attributes inside one tag, from after its name to its end: names, and
// the value of a style attribute ("style" stands for a style not of the subset).
QStringList AttributeNames(const QString& html, int from, int& end) {
    QStringList names;
    int at = from;
    while (at < html.size() && html[at] != QLatin1Char('>')) {
        if (html[at] == QLatin1Char('"') || html[at] == QLatin1Char('\'')) {
            int close = html.indexOf(html[at], at + 1);
            if (close < 0) close = html.size();
            if (!names.isEmpty() && names.back() == QLatin1String("style") &&
                IsPlainStyle(html.mid(at + 1, close - at - 1))) {
                names.back() = QStringLiteral("plain-style");
            }
            at = close + 1;
            continue;
        }
        if (html[at].isLetter()) {
            const int start = at;
            while (at < html.size() && (html[at].isLetterOrNumber() || html[at] == QLatin1Char('-'))) ++at;
            names << html.mid(start, at - start).toLower();
            continue;
        }
        ++at;
    }
    end = std::min(at, static_cast<int>(html.size()));
    return names;
}

// The end of the character (or entity) of text starting at `at`, or -1
// where a tag starts there.
int TextUnitEnd(const QString& html, int at) {
    const QChar c = html[at];
    const int after = at + 1;
    if (c == QLatin1Char('<') && after < html.size() &&
        (html[after].isLetter() || html[after] == QLatin1Char('/') || html[after] == QLatin1Char('!'))) {
        return -1;
    }
    if (c.isHighSurrogate() && after < html.size() && html[after].isLowSurrogate()) return after + 1;
    if (c == QLatin1Char('&')) {
        constexpr int kLongestEntity = 12;
        int end = after;
        while (end < html.size() && end - at < kLongestEntity &&
               (html[end].isLetterOrNumber() || html[end] == QLatin1Char('#'))) {
            ++end;
        }
        if (end < html.size() && end > after && html[end] == QLatin1Char(';')) return end + 1;
    }
    return after;
}

QString NotOurFile(const QString& why, const QString& path) {
    return QStringLiteral("%1:\r\n%2\r\nIt should be the file %3 that came with the program.")
        .arg(why, path, kHelpFileName);
}

}  // namespace

HelpFileContents ReadHelpFile(const QString& path) {
    const Outcome<std::string> bytes =
        ReadWholeFile(QFile::encodeName(path).toStdString(), static_cast<std::size_t>(kLargestHelpFile));
    if (!bytes) {
        switch (bytes.refusal().kind) {
            case RefusalKind::FileNotRegular: return {HelpFileStatus::NotAFile, {}};
            case RefusalKind::FileTooLarge: return {HelpFileStatus::TooLarge, {}};
            // A NUL byte is in no help file of ours.
            case RefusalKind::FileHoldsNul: return {HelpFileStatus::ForeignMarkup, {}};
            default: return {HelpFileStatus::CannotOpen, {}};
        }
    }
    QString html = QString::fromStdString(*bytes);
    if (!ForeignHelpMarkup(html).isEmpty()) return {HelpFileStatus::ForeignMarkup, {}};
    if (HtmlTooComplexToShow(html)) return {HelpFileStatus::TooComplex, {}};
    return {HelpFileStatus::Read, BreakOverLongWords(html)};
}

bool HtmlTooComplexToShow(const QString& html) {
    int nesting = 0;
    int tables = 0;
    int cells = 0;
    int table_text = 0;
    int previous_tag = 0;
    for (int at = html.indexOf(QLatin1Char('<')); at >= 0; at = html.indexOf(QLatin1Char('<'), at + 1)) {
        if (tables > 0 && (table_text += at - previous_tag) > kMostTableText) return true;
        previous_tag = at;
        int name_start = at + 1;
        const bool closing = name_start < html.size() && html[name_start] == QLatin1Char('/');
        if (closing) ++name_start;
        int name_end = name_start;
        while (name_end < html.size() && html[name_end].isLetterOrNumber()) ++name_end;
        const QString name = html.mid(name_start, name_end - name_start).toLower();
        if (name.isEmpty()) continue;
        if (!closing && (name == QLatin1String("td") || name == QLatin1String("th"))) {
            if (++cells > kMostTableCells) return true;
        }
        if (!ClosedElements().contains(name)) continue;
        const int step = closing ? -1 : 1;
        nesting = std::max(0, nesting + step);
        if (name == QLatin1String("table")) tables = std::max(0, tables + step);
        if (nesting > kDeepestNesting || tables > kDeepestTables) return true;
    }
    return false;
}

QString ForeignHelpMarkup(const QString& html) {
    for (int at = html.indexOf(QLatin1Char('<')); at >= 0; at = html.indexOf(QLatin1Char('<'), at + 1)) {
        if (html.mid(at, 4) == QLatin1String("<!--")) {
            const int close = html.indexOf(QLatin1String("-->"), at + 4);
            if (close < 0) return {};
            at = close;
            continue;
        }
        int name_end = at + 1;
        if (name_end < html.size() && (html[name_end] == QLatin1Char('/') || html[name_end] == QLatin1Char('!'))) {
            ++name_end;
        }
        const int name_start = name_end;
        while (name_end < html.size() && html[name_end].isLetterOrNumber()) ++name_end;
        const QString name = html.mid(name_start, name_end - name_start).toLower();
        if (html[name_start - 1] == QLatin1Char('!')) {
            if (name != QLatin1String("doctype")) return QStringLiteral("<!") + name + QLatin1Char('>');
            continue;
        }
        if (name.isEmpty()) continue;  // a lone "<" is text
        if (!ClosedElements().contains(name) && !OpenElements().contains(name)) {
            return QLatin1Char('<') + name + QLatin1Char('>');
        }
        int end = 0;
        for (const QString& attribute : AttributeNames(html, name_end, end)) {
            if (!Attributes().contains(attribute)) return attribute + QStringLiteral(" in <") + name + QLatin1Char('>');
        }
        at = end;
    }
    return {};
}

QString BreakOverLongWords(const QString& html, int longest) {
    QString broken;
    broken.reserve(html.size() + html.size() / longest);
    int run = 0;  // characters since the last place to break
    for (int at = 0; at < html.size();) {
        const int next = TextUnitEnd(html, at);
        if (next < 0) {  // a tag, kept whole
            const int close = html.indexOf(QLatin1Char('>'), at);
            const int end = close < 0 ? html.size() : close + 1;
            broken += QStringView(html).mid(at, end - at);
            at = end;
            continue;
        }
        if (html[at].isSpace()) {
            run = 0;
        } else if (++run > longest) {
            broken += QChar(0x200B);
            run = 1;
        }
        broken += QStringView(html).mid(at, next - at);
        at = next;
    }
    return broken;
}

QString HelpFileProblemMessage(const QString& path, HelpFileStatus status) {
    switch (status) {
        case HelpFileStatus::Read:
            return {};
        case HelpFileStatus::CannotOpen:
            return QStringLiteral("The help file could not be opened:\r\n%1\r\n"
                                  "It should lie in the same folder as the program.")
                .arg(path);
        case HelpFileStatus::NotAFile:
            return NotOurFile(QStringLiteral("The help file is not an ordinary file, so it was not opened"), path);
        case HelpFileStatus::TooLarge:
            return NotOurFile(
                QStringLiteral("The help file is too large to show (more than %1 KB)").arg(kLargestHelpFile / 1024),
                path);
        case HelpFileStatus::TooComplex:
            return NotOurFile(
                QStringLiteral("The help file is too complex to show (nested too deeply, or too much in tables)"),
                path);
        case HelpFileStatus::ForeignMarkup:
            return NotOurFile(QStringLiteral("The help file holds markup that the viewer does not show"), path);
    }
    return {};
}

}  // namespace valdris
