// SPDX-License-Identifier: Apache-2.0
// The files the program writes: the report PDF read back with poppler's
// tools, the chart files' titles and faces, and the one safe way every file
// is written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>

#include "axis_titles.h"
#include "chart_file.h"
#include "chart_geometry.h"
#include "design_inputs.h"
#include "painter_surface.h"
#include "report_file.h"
#include "safe_file.h"

namespace valdris {
namespace {

// A program's standard output, or the reason it could not run.
QString Output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return QStringLiteral("(%1 failed: %2)").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

ReportPage PageOf(TestKind test, const ReportEntries& entries) {
    DesignInputs inputs;
    DesignState state = PrepareState(inputs);
    EXPECT_EQ(RunTestDesign(test, state), DesignResult::Shown);
    return {MakeDesignReport(test, state, entries), state, QDateTime(QDate(2026, 12, 8), QTime(22, 30))};
}

class DesignFiles : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

struct ReportCase {
    TestKind test;
    std::vector<std::pair<QString, QString>> rows;  // label, value as the window shows it
    QString rule;
};

// Every input and result is in the PDF's text as the window shows it, on the
// line of its label, and the chart is drawn in colour.
TEST_F(DesignFiles, ReportPdfCarriesTheShownFiguresAndTheChart) {
    const ReportEntries entries{"Cs-137 unit 4", "0.050", "0.10", ".5", "1", "0.5", "1"};
    const ReportCase cases[] = {
        {TestKind::Sign,
         {{"Statistical Test", "Sign Test"}, {"Survey Unit Sample Size", "29"}, {"Critical Value", "19"}},
         "more than 19 of its 29 measurements lie below the DCGL"},
        {TestKind::WRS,
         {{"Statistical Test", "WRS Test"},
          {"Survey Unit Sample Size", "32"},
          {"Reference Area Sample Size", "32"},
          {"Critical Value", "1162"}},
         "passes when the rank sum W exceeds 1162"},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.rule.toStdString());
        const QString path = PathOf("report.pdf");
        std::string error;
        ASSERT_TRUE(WriteDesignReport(PageOf(c.test, entries), path.toStdString(), error)) << error;

        const QString layout = Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        std::vector<std::pair<QString, QString>> rows = c.rows;
        rows.insert(rows.end(), {{"Alpha", "0.050"}, {"Beta", "0.10"}, {"Sigma", ".5"}, {"DCGL", "1"},
                                 {"LBGR", "0.5"}, {"D/s", "1"}, {"Radionuclide:", "Cs-137 unit 4"}});
        for (const auto& [label, value] : rows) {
            const QRegularExpression row(QRegularExpression::escape(label) + QStringLiteral(" +") +
                                         QRegularExpression::escape(value) + QStringLiteral("( |$)"),
                                         QRegularExpression::MultilineOption);
            EXPECT_TRUE(row.match(layout).hasMatch()) << label.toStdString() << " " << value.toStdString() << "\n"
                                                      << layout.toStdString();
        }
        const QString flowing = Output(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).simplified();
        EXPECT_TRUE(flowing.contains(c.rule)) << flowing.toStdString();
        for (const char* title : {"Probability that the Survey Unit Passes", "True Survey Unit Concentration"}) {
            EXPECT_TRUE(flowing.contains(QLatin1String(title))) << title;
        }

        ASSERT_EQ(Output(QStringLiteral("pdftoppm"),
                         {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"), path, PathOf("page")}),
                  QString());
        const QImage page(PathOf("page-1.png"));
        ASSERT_FALSE(page.isNull());
        int blue = 0, red = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor colour = page.pixelColor(x, y);
                blue += colour.blue() > 160 && colour.red() < 100 && colour.green() < 100;
                red += colour.red() > 160 && colour.blue() < 100 && colour.green() < 100;
            }
        }
        EXPECT_GT(blue, 40);  // the curve
        EXPECT_GT(red, 10);   // the DCGL and LBGR lines
    }
}

TEST_F(DesignFiles, ReportPaperFollowsTheLocale) {
    const std::pair<QLocale, const char*> cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "612 x 792 pts (letter)"},
        {QLocale(QLocale::English, QLocale::Canada), "612 x 792 pts (letter)"},
        {QLocale(QLocale::German, QLocale::Germany), "(A4)"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "(A4)"},
    };
    const QLocale before;
    for (const auto& [locale, size] : cases) {
        QLocale::setDefault(locale);
        std::string error;
        ASSERT_TRUE(WriteDesignReport(PageOf(TestKind::Sign, {}), PathOf("paper.pdf").toStdString(), error));
        EXPECT_TRUE(Output(QStringLiteral("pdfinfo"), {PathOf("paper.pdf")}).contains(QLatin1String(size)))
            << locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

// The titles the window lays over its chart are in the file too, and each
// face is named first by the family actually installed, so that a viewer
// does not fall back to a wider face that shifts the labels.
TEST_F(DesignFiles, ChartSvgHasTheTitlesInTheInstalledFaces) {
    std::string error;
    ASSERT_TRUE(WriteChartFile(PageOf(TestKind::Sign, {}).state, PathOf("chart.svg").toStdString(), error)) << error;
    QFile file(PathOf("chart.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(svg.contains(YAxisTitle()));
    EXPECT_TRUE(svg.contains(XAxisTitle()));
    for (const QFont& font : {AxisTitleFont(), ChartFont()}) {
        const QString installed = QFontInfo(font).family();
        EXPECT_TRUE(svg.contains(QStringLiteral("font-family=\"'%1', ").arg(installed))) << installed.toStdString();
    }
    EXPECT_FALSE(svg.contains(QLatin1String("font-family=\"'MS Sans Serif'")));
}

// Refused names are left exactly as they were, and nothing is left beside them.
TEST_F(DesignFiles, WritesOnlyToAPlainFileOfItsOwn) {
    QFile target(PathOf("target.txt"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("keep");
    target.close();
    ASSERT_TRUE(QFile::link(PathOf("target.txt"), PathOf("link.png")));
    ASSERT_TRUE(QFile::link(PathOf("missing.txt"), PathOf("dangling.pdf")));
    ASSERT_EQ(mkfifo(PathOf("pipe.png").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.png")));

    const std::pair<const char*, const char*> refused[] = {
        {"link.png", "symbolic link"},
        {"dangling.pdf", "symbolic link"},
        {"pipe.png", "not a regular file"},
        {"folder.png", "not a regular file"},
        {"no-such-folder/chart.png", "No such file"},
    };
    int writes = 0;
    const FileContent content = [&](QIODevice& file) {
        ++writes;
        file.write("new");
        return QString();
    };
    for (const auto& [name, reason] : refused) {
        EXPECT_TRUE(WriteFileSafely(PathOf(name), content).contains(QLatin1String(reason))) << name;
    }
    EXPECT_EQ(writes, 0);
    EXPECT_FALSE(QFileInfo::exists(PathOf("missing.txt")));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep");
    target.close();

    // The chart and the report go through it.
    std::string error;
    EXPECT_FALSE(WriteChartFile(PageOf(TestKind::Sign, {}).state, PathOf("link.png").toStdString(), error));
    EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
    EXPECT_FALSE(WriteDesignReport(PageOf(TestKind::Sign, {}), PathOf("dangling.pdf").toStdString(), error));
    EXPECT_NE(error.find("The report could not be written to"), std::string::npos) << error;
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"dangling.pdf", "link.png", "pipe.png", "target.txt"}));
}

// A replaced file keeps its permissions; a failed write keeps the old content.
TEST_F(DesignFiles, ReplacesWholeOrNotAtAll) {
    const QString path = PathOf("chart.png");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0640), 0);

    const QString failure = WriteFileSafely(path, [](QIODevice& file) {
        file.write("half");
        return QStringLiteral("the drawing failed");
    });
    EXPECT_EQ(failure, QStringLiteral("the drawing failed"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    old.close();

    EXPECT_EQ(WriteFileSafely(path, [](QIODevice& file) { return file.write("new") == 3 ? QString() : file.errorString(); }),
              QString());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "new");
    struct stat status {};
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
}  // namespace valdris

namespace valdris {
namespace {

mode_t ModeOf(const QString& path) {
    struct stat status {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// What replacing an existing file keeps and what it drops, as a table: the
// permissions without set-ID bits, the owner where permitted, and a
// read-only file only when the user agreed.
TEST_F(DesignFiles, ReplacingRespectsTheOldFile) {
    const bool root = geteuid() == 0;
    const struct {
        const char* name;
        mode_t mode;
        ReadOnlyFile read_only;
        bool read_only_file;
        const char* refusal;  // empty: written
        mode_t written_mode;
    } cases[] = {
        {"plain.pdf", 0644, ReadOnlyFile::Refuse, false, "", 0644},
        {"read-only.pdf", 0444, ReadOnlyFile::Refuse, true, "read-only", 0},
        {"agreed.pdf", 0444, ReadOnlyFile::Replace, true, "", 0444},
        {"setuid.png", 04755, ReadOnlyFile::Refuse, false, "", 0755},
        {"setgid.png", 02775, ReadOnlyFile::Refuse, false, "", 0775},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = PathOf(c.name);
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        ASSERT_EQ(chmod(QFile::encodeName(path).constData(), c.mode), 0);
        EXPECT_EQ(IsReadOnlyFile(path), c.read_only_file);
        const QString reason = WriteFileSafely(path, [](QIODevice& file) { file.write("new"); return QString(); },
                                               c.read_only);
        EXPECT_TRUE(*c.refusal ? reason.contains(QLatin1String(c.refusal)) : reason.isEmpty()) << reason.toStdString();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), *c.refusal ? "old" : "new");
        old.close();
        if (!*c.refusal) {
            EXPECT_EQ(ModeOf(path), c.written_mode);
        }
    }
    EXPECT_FALSE(IsReadOnlyFile(PathOf("missing.pdf")));

    // Root replacing another user's file gives it back to that user.
    if (root) {
        const QString path = PathOf("theirs.png");
        QFile theirs(path);
        ASSERT_TRUE(theirs.open(QIODevice::WriteOnly));
        theirs.close();
        ASSERT_EQ(chown(QFile::encodeName(path).constData(), 4321, 4322), 0);
        ASSERT_EQ(WriteFileSafely(path, [](QIODevice&) { return QString(); }), QString());
        struct stat status {};
        ASSERT_EQ(stat(QFile::encodeName(path).constData(), &status), 0);
        EXPECT_EQ(status.st_uid, 4321u);
        EXPECT_EQ(status.st_gid, 4322u);
    }
}

// A disk that cannot take the file (here: a file size limit) is reported
// with the system's reason, and the old file stays.
TEST_F(DesignFiles, AFullDiskIsReportedWithItsCause) {
    const QString chart = PathOf("chart.png");
    const QString report = PathOf("report.pdf");
    for (const QString& path : {chart, report}) {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto old_handler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string chart_error;
    std::string report_error;
    const bool chart_written = WriteChartFile(PageOf(TestKind::Sign, {}).state, chart.toStdString(), chart_error);
    const bool report_written = WriteDesignReport(PageOf(TestKind::Sign, {}), report.toStdString(), report_error);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, old_handler);

    const std::string cause = std::strerror(EFBIG);
    for (const auto& [written, error] : {std::pair{chart_written, chart_error}, {report_written, report_error}}) {
        EXPECT_FALSE(written);
        EXPECT_NE(error.find(": " + cause + "."), std::string::npos) << error;
        EXPECT_EQ(error.find("Unknown error"), std::string::npos) << error;
    }
    for (const QString& path : {chart, report}) {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old");
    }
}

}  // namespace
}  // namespace valdris

namespace valdris {
namespace {

// With SOURCE_DATE_EPOCH set, a report is dated by it on the page and in the
// PDF's metadata (runs in separate processes: the companion's tests).
TEST_F(DesignFiles, ReportsAreDatedBySourceDateEpoch) {
    ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "1700000000", 1), 0);  // 2023-11-14 22:13:20 UTC
    QByteArray reports[2];
    for (int run = 0; run < 2; ++run) {
        ReportPage page = PageOf(TestKind::Sign, {});
        page.made = ReportTime();
        const QString path = PathOf(run == 0 ? "first.pdf" : "second.pdf");
        std::string error;
        ASSERT_TRUE(WriteDesignReport(page, path.toStdString(), error)) << error;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        reports[run] = file.readAll();
    }
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(reports[0], reports[1]);
    EXPECT_TRUE(Output(QStringLiteral("pdftotext"), {PathOf("first.pdf"), QStringLiteral("-")})
                    .contains(QLatin1String("2023-11-14 22:13")));
    EXPECT_TRUE(reports[0].contains("/CreationDate (D:20231114221320")) << reports[0].left(2000).toStdString();
}

}  // namespace
}  // namespace valdris

namespace valdris {
namespace {

// On the printed chart the labels of the lines a tenth of the DCGL apart
// ("90%", "100%", "110%") and the red lines' names stand clear of each other.
TEST_F(DesignFiles, ReportChartLabelsDoNotTouch) {
    const QString path = PathOf("labels.pdf");
    std::string error;
    ASSERT_TRUE(WriteDesignReport(PageOf(TestKind::Sign, {}), path.toStdString(), error)) << error;
    const QString boxes = Output(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    // The first of each word is the chart's (the power table follows it).
    struct Box {
        double left = -1, right = -1, top = -1;
    };
    const auto box = [&](const char* word) {
        static const QRegularExpression kWord(
            QStringLiteral(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>([^<]+)</word>)re"));
        for (auto it = kWord.globalMatch(boxes); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(4) == QLatin1String(word)) {
                return Box{m.captured(1).toDouble(), m.captured(3).toDouble(), m.captured(2).toDouble()};
            }
        }
        return Box{};
    };
    const char* in_order[] = {"90%", "100%", "110%"};
    for (int i = 0; i + 1 < 3; ++i) {
        const Box left = box(in_order[i]);
        const Box right = box(in_order[i + 1]);
        SCOPED_TRACE(std::string(in_order[i]) + " and " + in_order[i + 1]);
        EXPECT_EQ(left.top, right.top);     // separate words on the chart's row
        EXPECT_GT(right.left - left.right, 4);  // points
    }
    EXPECT_GE(box("LBGR").left, 0);
    EXPECT_GE(box("DCGL").left, 0);
}

}  // namespace
}  // namespace valdris
