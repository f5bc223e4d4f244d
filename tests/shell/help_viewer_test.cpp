// SPDX-License-Identifier: Apache-2.0
// The help viewer: each topic at the top of the view, Back, Forward and
// Contents, links kept within the help file, and help files it must not
// show (devices, FIFOs, oversized or pathologically nested files).
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "context_ids.h"
#include "help_file.h"
#include "help_viewer.h"
#include "recording_messages.h"

namespace valdris {
namespace {

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        help_file_ = dir_.filePath(kHelpFileName);
        ASSERT_TRUE(QFile::copy(QStringLiteral(VALDRIS_HELP_FILE), help_file_));
    }
    // The text of the line at the top of the view.
    std::string TopLine() const {
        QApplication::processEvents();
        return Browser()->cursorForPosition(QPoint(20, 4)).block().text().toStdString();
    }
    HelpBrowser* Browser() const { return viewer_.Window()->findChild<HelpBrowser*>(); }
    void Trigger(const char* action) {
        viewer_.Window()->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }

    QTemporaryDir dir_;
    QString help_file_;
    testing::RecordingMessages messages_;
    HelpViewer viewer_{messages_};
};

// F1 scrolled to the end of the document, so a topic near the end stood
// mid-page among the others.
TEST_F(HelpViewerTest, EveryTopicOpensAtItsHeading) {
    const std::pair<int, const char*> topics[] = {
        {kHelpContextDesignWindow, "The design window"}, {kHelpContextFileMenu, "The File menu"},
        {kHelpContextHelpMenu, "The Help menu"},         {kHelpContextGettingStarted, "Getting Started"},
        {kHelpContextSplash, "About VALDRIS Power"},     {0, "VALDRIS Power Help"},
    };
    for (const auto& [id, heading] : topics) {
        viewer_.ShowTopic(help_file_, id);
        EXPECT_EQ(TopLine(), heading) << id;
    }
    // The same at another window size.
    viewer_.Window()->resize(900, 300);
    viewer_.ShowTopic(help_file_, kHelpContextSplash);
    EXPECT_EQ(TopLine(), "About VALDRIS Power");
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_FALSE(viewer_.Window()->windowIcon().isNull());
}

TEST_F(HelpViewerTest, BackForwardAndContents) {
    viewer_.ShowTopic(help_file_, kHelpContextDesignWindow);
    emit Browser()->anchorClicked(QUrl(QStringLiteral("#context-240")));
    EXPECT_EQ(TopLine(), "Getting Started");
    viewer_.ShowTopic(help_file_, kHelpContextFileMenu);
    EXPECT_EQ(TopLine(), "The File menu");

    Trigger("HelpBack");
    EXPECT_EQ(TopLine(), "Getting Started");
    Trigger("HelpBack");
    EXPECT_EQ(TopLine(), "The design window");
    EXPECT_FALSE(viewer_.Window()->findChild<QAction*>(QStringLiteral("HelpBack"))->isEnabled());
    Trigger("HelpForward");
    EXPECT_EQ(TopLine(), "Getting Started");
    Trigger("HelpContents");
    EXPECT_EQ(Browser()->verticalScrollBar()->value(), 0);
    Trigger("HelpBack");
    EXPECT_EQ(TopLine(), "Getting Started");
}

// Keys: Ctrl+F finds as the field is typed into, Return finds the next and
// Shift+Return the one before, both round the ends, saying so; a text not
// there is said not to be found. Esc closes the find bar, then the viewer.
TEST_F(HelpViewerTest, FindsTextAndClosesOnEsc) {
    QFile file(help_file_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<h1>Contents</h1><p>alpha one</p><p>beta</p><p>Alpha two</p>");
    file.close();
    viewer_.ShowTopic(help_file_, 0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer_.Window()));
    QWidget* window = viewer_.Window();
    auto* bar = window->findChild<QWidget*>(QStringLiteral("HelpFindBar"));
    const auto* note = window->findChild<QLabel*>(QStringLiteral("HelpFindNote"));
    EXPECT_FALSE(bar->isVisible());

    struct Step {
        const char* typed;  // into the field; else the key below
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* line;   // of the selected match, if any
        const char* selected;
        const char* note;
    };
    const Step steps[] = {
        {nullptr, Qt::Key_F, Qt::ControlModifier, "Contents", "", ""},
        {"alp", 0, {}, "alpha one", "alp", ""},
        {"ha", 0, {}, "alpha one", "alpha", ""},  // the match grows where it stands
        {nullptr, Qt::Key_Return, {}, "Alpha two", "Alpha", ""},
        {nullptr, Qt::Key_Return, {}, "alpha one", "alpha", "Continued from the start."},
        {nullptr, Qt::Key_Return, Qt::ShiftModifier, "Alpha two", "Alpha", "Continued from the end."},
        {"x", 0, {}, "Alpha two", "Alpha", "\"alphax\" was not found."},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed ? step.typed : std::to_string(step.key).c_str());
        if (step.typed) {
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(step.typed));
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(step.key), step.modifiers);
        }
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "HelpFindText");
        const QTextCursor match = Browser()->textCursor();
        EXPECT_EQ(match.block().text().toStdString(), step.line);
        EXPECT_EQ(match.selectedText().toStdString(), step.selected);
        EXPECT_EQ(note->text().toStdString(), step.note);
    }

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Browser());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// Links lead only to the help file's own anchors: not to other files, not
// resolved against the current directory, not to the network.
TEST_F(HelpViewerTest, FollowsOnlyTheHelpFilesOwnAnchors) {
    viewer_.ShowTopic(help_file_, kHelpContextHelpMenu);
    const QString text = Browser()->toPlainText();
    const int place = Browser()->verticalScrollBar()->value();
    for (const char* link : {"file:///etc/hostname", "/etc/hostname", "hostname", "../x.html#context-10",
                             "VALDRISPower99.HLP#context-10", "http://example.com/#context-10"}) {
        emit Browser()->anchorClicked(QUrl(QString::fromLatin1(link)));
        EXPECT_EQ(Browser()->toPlainText(), text) << link;
        EXPECT_EQ(Browser()->verticalScrollBar()->value(), place) << link;
    }
    // Nor does the document behind it read a file itself when the viewer
    // gives it nothing: it gets an empty resource instead.
    const QUrl file = QUrl::fromLocalFile(help_file_);
    for (const int type : {int(QTextDocument::ImageResource), int(QTextDocument::StyleSheetResource),
                           int(QTextDocument::HtmlResource)}) {
        const QVariant resource = Browser()->document()->resource(type, file);
        EXPECT_FALSE(resource.toByteArray().contains("<html>")) << type;
        EXPECT_LE(resource.value<QImage>().width(), 1) << type;
    }
}

// A help file that is no ordinary file, too big or too deeply nested is
// refused at once with a message saying why; the viewer does not open.
TEST_F(HelpViewerTest, RefusesFilesItMustNotShow) {
    QFile::remove(help_file_);
    const QString fifo = dir_.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zeros = dir_.filePath(QStringLiteral("zeros"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeros));
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString oversized = write(QStringLiteral("big"), QByteArray(kLargestHelpFile + 1, 'x'));
    const QString at_cap = write(QStringLiteral("at-cap"), QByteArray(kLargestHelpFile, 'x'));
    const QString tables = write(QStringLiteral("tables"), QByteArray("<table><tr><td>").repeated(3) + "x");
    const QString in_table =
        write(QStringLiteral("in-table"), "<table><tr><td>" + QByteArray("<p>text</p>").repeated(3000));
    const QString divs = write(QStringLiteral("divs"), QByteArray("<div>").repeated(5000));
    const QString cells = write(QStringLiteral("cells"), "<table>" + QByteArray("<tr><td>a<td>b").repeated(501));
    const QString unclosed = write(QStringLiteral("unclosed"), QByteArray("<tt>a<q>b<kbd>c").repeated(20));
    const QString image = write(QStringLiteral("image"), "<p>a<img src=\"/dev/zero\">");
    const QString styled = write(QStringLiteral("styled"), "<p style=\"margin: 1px\">a</p>");
    const QString coloured = write(QStringLiteral("coloured"), "<h2 style=\"background-color:#ff00ff\">a</h2>");
    const QString sheet = write(QStringLiteral("sheet"), "<style>p { margin: 1px }</style><p>a");
    const QString backdrop = write(QStringLiteral("backdrop"), "<table background=\"/dev/zero\"><tr><td>a</table>");
    const QString nul = write(QStringLiteral("nul"), QByteArray("<p>a\0b</p>", 10));

    struct Case {
        QString path;
        HelpFileStatus status;
        const char* says;
    };
    const Case table[] = {
        {dir_.filePath(QStringLiteral("missing")), HelpFileStatus::CannotOpen, "could not be opened"},
        {fifo, HelpFileStatus::NotAFile, "not an ordinary file"},
        {zeros, HelpFileStatus::NotAFile, "not an ordinary file"},
        {dir_.path(), HelpFileStatus::NotAFile, "not an ordinary file"},
        {oversized, HelpFileStatus::TooLarge, "too large to show (more than 256 KB)"},
        {tables, HelpFileStatus::TooComplex, "too complex"},
        {in_table, HelpFileStatus::TooComplex, "too complex"},
        {divs, HelpFileStatus::TooComplex, "too complex"},
        {cells, HelpFileStatus::TooComplex, "too complex"},
        {unclosed, HelpFileStatus::TooComplex, "too complex"},
        {image, HelpFileStatus::ForeignMarkup, "markup that the viewer does not show"},
        {styled, HelpFileStatus::ForeignMarkup, "markup that the viewer does not show"},
        {sheet, HelpFileStatus::ForeignMarkup, "markup that the viewer does not show"},
        {backdrop, HelpFileStatus::ForeignMarkup, "markup that the viewer does not show"},
        {nul, HelpFileStatus::ForeignMarkup, "markup that the viewer does not show"},
        {at_cap, HelpFileStatus::Read, ""},
        {coloured, HelpFileStatus::Read, ""},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(ReadHelpFile(c.path).status, c.status);
        if (c.status == HelpFileStatus::Read) continue;
        messages_.Clear();
        viewer_.ShowTopic(c.path, kHelpContextDesignWindow);
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_TRUE(messages_.shown[0].text.contains(QString::fromLatin1(c.says))) << messages_.shown[0].text.toStdString();
        EXPECT_TRUE(messages_.shown[0].text.contains(c.path));
        EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(viewer_.Window(), nullptr);
    }
    // Our own help file is far within every limit.
    EXPECT_EQ(ReadHelpFile(QStringLiteral(VALDRIS_HELP_FILE)).status, HelpFileStatus::Read);
    // One unbroken word as large as allowed is shown with places to break.
    const QString word = ReadHelpFile(at_cap).html;
    EXPECT_EQ(word.count(QChar(0x200B)), kLargestHelpFile / kLongestHelpWord - 1);
    EXPECT_EQ(QString(word).remove(QChar(0x200B)), QString(kLargestHelpFile, QLatin1Char('x')));
}

// However long a word, the layout is given a place to break it; tags,
// entities and characters outside the BMP stay whole.
TEST(BreakOverLongWords, NoWordIsLongerThanTheLongest) {
    const QString zw(QChar(0x200B));
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
    const struct {
        QString html;
        QString broken;
    } cases[] = {
        {QStringLiteral("abcd efgh"), QStringLiteral("abcd efgh")},
        {QStringLiteral("abcdefghij"), "abcd" + zw + "efgh" + zw + "ij"},
        {QStringLiteral("ab\ncdefg"), "ab\ncdef" + zw + "g"},
        {QStringLiteral("<a href=\"#aaaaaaaaaa\">ab</a>cdefg"), "<a href=\"#aaaaaaaaaa\">ab</a>cd" + zw + "efg"},
        {QStringLiteral("&amp;&amp;&amp;&amp;&amp;"), "&amp;&amp;&amp;&amp;" + zw + "&amp;"},
        {QStringLiteral("&&&&&"), "&&&&" + zw + "&"},
        {QStringLiteral("a<b>c"), "a<b>c"},
        {QStringLiteral("a<1bcdefg"), "a<1b" + zw + "cdef" + zw + "g"},
        {face + face + face + face + face, face + face + face + face + zw + face},
        {QStringLiteral("<p unclosed"), QStringLiteral("<p unclosed")},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakOverLongWords(c.html, 4), c.broken) << c.html.toStdString();
    }
}

}  // namespace
}  // namespace valdris
