// SPDX-License-Identifier: Apache-2.0
#include "help_file.h"

#include <QFile>
#include <QSet>
#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "context_ids.h"

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
    };
    return names;
}

QString NotOurFile(const QString& why, const QString& path) {
    return QStringLiteral("%1:\r\n%2\r\nIt should be the file %3 that came with the program.")
        .arg(why, path, kHelpFileName);
}

}  // namespace

HelpFileContents ReadHelpFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {HelpFileStatus::CannotOpen, {}};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {HelpFileStatus::NotAFile, {}};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {HelpFileStatus::CannotOpen, {}};
    }
    // The size the file reports may be out of date; what is read counts.
    const QByteArray bytes = file.read(kLargestHelpFile + 1);
    if (bytes.size() > kLargestHelpFile) return {HelpFileStatus::TooLarge, {}};
    QString html = QString::fromUtf8(bytes);
    if (HtmlTooComplexToShow(html)) return {HelpFileStatus::TooComplex, {}};
    return {HelpFileStatus::Read, html};
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
    }
    return {};
}

}  // namespace valdris
