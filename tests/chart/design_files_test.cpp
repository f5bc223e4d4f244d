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

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <string>

#include "axis_titles.h"
#include "chart_file.h"
#include "chart_geometry.h"
#include "design_inputs.h"
#include "painter_surface.h"
#include "plan.h"
#include "plan_summary.h"
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

// The plan report: every value and column title whole, a totals row, a
// verdict column once measurements exist, each page numbered "n of m"; an
// empty plan gives no file.
// A long plan report tells how far it has come and stops when told: the
// file it would replace stays as it was, and no other is made.
TEST_F(DesignFiles, APlanReportStoppedWritesNothing) {
    SurveyPlan plan;
    for (const char* name : {"A", "B", "C"}) {
        PlanUnit unit;
        unit.name = name;
        ASSERT_TRUE(plan.Add(unit));
    }
    const QString path = PathOf("report.pdf");
    const struct {
        std::size_t stop_at;  // 0: never
        bool written;
    } cases[] = {{1, false}, {3, false}, {6, false}, {0, true}};
    for (const auto& c : cases) {
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly) && kept.write("kept") == 4);
        kept.close();
        std::vector<std::size_t> steps;
        const auto written = WritePlanReport(plan, QStringLiteral("Site"), path.toStdString(),
                                             [&](std::size_t done, std::size_t total) {
                                                 EXPECT_EQ(total, 6u);
                                                 steps.push_back(done);
                                                 return done != c.stop_at;
                                             });
        EXPECT_EQ(static_cast<bool>(written), c.written) << c.stop_at;
        if (!c.written) {
            EXPECT_EQ(written.refusal().kind, RefusalKind::ReportCancelled) << c.stop_at;
        }
        const std::size_t last = c.written ? 6 : c.stop_at;
        EXPECT_EQ(steps.size(), last) << c.stop_at;
        EXPECT_EQ(steps.empty() ? 0 : steps.back(), last) << c.stop_at;
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.read(5), c.written ? QByteArray("%PDF-") : QByteArray("kept")) << c.stop_at;
        EXPECT_EQ(QDir(PathOf("")).entryList(QDir::Files | QDir::Hidden).size(), 1) << c.stop_at << ": no leftover";
    }
}

TEST_F(DesignFiles, PlanReportIsWholeNumberedAndTotalled) {
    SurveyPlan plan;
    const QString empty_path = PathOf("empty.pdf");
    const auto empty = WritePlanReport(plan, QStringLiteral("Empty"), empty_path.toStdString());
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.message(), kNothingToReport);
    EXPECT_FALSE(QFileInfo::exists(empty_path));

    PlanUnit north;
    north.name = "North yard along the old railway embankment";
    north.test = TestKind::WRS;
    north.costs = {1500.0, 250.0};
    north.nuclides = {{"Co-60", 5, 0.5, 1.0}, {"Cs-137", 10, 2, 3.0}};
    ASSERT_TRUE(plan.Add(north));
    PlanUnit south;
    south.name = "South";
    south.given_n = 12;
    south.survey_data = {0.1, 0.2, 0.3, 0.4, 0.5, 0.2, 0.3, 0.1, 0.2, 0.3, 0.4, 0.2};
    ASSERT_TRUE(plan.Add(south));
    const QString path = PathOf("plan.pdf");
    const auto written = WritePlanReport(plan, QStringLiteral("Survey Plan: Site"), path.toStdString());
    ASSERT_TRUE(written) << written.message();
    const QString text = Output(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    const int pages = text.count(QLatin1Char('\f'));
    ASSERT_GT(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages))) << page;
    }
    // The cells wrap between words, so the text is compared without blanks.
    QString squeezed = text;
    squeezed.remove(QRegularExpression(QStringLiteral("\\s")));
    for (const char* piece : {"N(ReferenceArea)", "Verdict", "Passes", "12(given;", "designed29)", "Total:36samplestaken",
                              "Co-60,Cs-137", "0.2236068"}) {
        EXPECT_TRUE(squeezed.contains(QLatin1String(piece))) << piece << "\n" << text.toStdString();
    }
    EXPECT_FALSE(text.contains(QChar(0x2026))) << "an elided value";
}

struct ReportCase {
    TestKind test;
    std::vector<std::pair<QString, QString>> rows;  // label, value as the window shows it
    QString rule;
};

// Every input and result is in the PDF's text as the window shows it, on the
// line of its label, and the chart is drawn in colour.
// A unit's map for the field crew: one page, its title block naming the
// plan, the unit, the reference system, the grid, N and the day; the map's
// coordinates in full.
TEST_F(DesignFiles, MapPageIsOnePageWithItsTitleBlock) {
    SampleLayout layout = *LayOutSamples(GridType::Square, *SizeFromRectangle(300, 250), 12, 7);
    for (GridPoint& p : layout.points) p = {p.x + 500000, p.y + 5000000};
    layout.boundary.polygons = {{{{500000, 5000000}, {500300, 5000000}, {500300, 5000250}, {500000, 5000250}}, {}}};
    layout.boundary.crs = "EPSG:32633";
    const MapPage page{QStringLiteral("Site"), QStringLiteral("North yard"), layout,
                       QDateTime(QDate(2026, 3, 4), QTime(9, 0), Qt::UTC)};
    const QString path = PathOf("map.pdf");
    ASSERT_TRUE(WriteMapPage(page, path.toStdString()));
    const QString text = Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_EQ(text.count(QLatin1Char('\f')), 1);
    for (const char* piece : {"Sample Map: North yard", "Site", "EPSG:32633, in metres", "Square, spacing", "2026-03-04",
                              "5 000 100", "500 100", "N"}) {
        EXPECT_TRUE(text.contains(QLatin1String(piece))) << piece << "\n" << text.toStdString();
    }
}

TEST_F(DesignFiles, ReportPdfCarriesTheShownFiguresAndTheChart) {
    const ReportEntries entries{"Cs-137 unit 4", "0.050", "0.10", ".5", "1", "0.5", "1", "dpm/100 cm\u00b2"};
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
        const auto written = WriteDesignReport(PageOf(c.test, entries), path.toStdString());
        ASSERT_TRUE(written) << written.message();

        const QString layout = Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        std::vector<std::pair<QString, QString>> rows = c.rows;
        rows.insert(rows.end(), {{"Alpha", "0.050"}, {"Beta", "0.10"}, {"Sigma", ".5 dpm/100 cm\u00b2"},
                                 {"DCGL", "1 dpm/100 cm\u00b2"}, {"LBGR", "0.5 dpm/100 cm\u00b2"}, {"D/s", "1"},
                                 {"Radionuclide:", "Cs-137 unit 4"}});
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
        ASSERT_TRUE(WriteDesignReport(PageOf(TestKind::Sign, {}), PathOf("paper.pdf").toStdString()));
        EXPECT_TRUE(Output(QStringLiteral("pdfinfo"), {PathOf("paper.pdf")}).contains(QLatin1String(size)))
            << locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

// The titles the window lays over its chart are in the file too, and each
// face is named first by the family actually installed, so that a viewer
// does not fall back to a wider face that shifts the labels.
TEST_F(DesignFiles, ChartSvgHasTheTitlesInTheInstalledFaces) {
    const auto written = WriteChartFile(PageOf(TestKind::Sign, {}).state, PathOf("chart.svg").toStdString());
    ASSERT_TRUE(written) << written.message();
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
        const auto written = WriteFileSafely(PathOf(name), content);
        EXPECT_FALSE(written) << name;
        EXPECT_NE(written.message().find(reason), std::string::npos) << name;
    }
    EXPECT_EQ(writes, 0);
    EXPECT_FALSE(QFileInfo::exists(PathOf("missing.txt")));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep");
    target.close();

    // The chart and the report go through it.
    const auto chart = WriteChartFile(PageOf(TestKind::Sign, {}).state, PathOf("link.png").toStdString());
    EXPECT_FALSE(chart);
    EXPECT_NE(chart.message().find("symbolic link"), std::string::npos) << chart.message();
    const auto report = WriteDesignReport(PageOf(TestKind::Sign, {}), PathOf("dangling.pdf").toStdString());
    EXPECT_FALSE(report);
    EXPECT_NE(report.message().find("The report could not be written to"), std::string::npos) << report.message();
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

    const auto failure = WriteFileSafely(path, [](QIODevice& file) {
        file.write("half");
        return QStringLiteral("the drawing failed");
    });
    EXPECT_FALSE(failure);
    EXPECT_EQ(failure.message(), "the drawing failed");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    old.close();

    const auto written =
        WriteFileSafely(path, [](QIODevice& file) { return file.write("new") == 3 ? QString() : file.errorString(); });
    EXPECT_TRUE(written) << written.message();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "new");
    struct stat status {};
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// Replacing an existing file, as a table: its permissions without set-ID
// bits, and a read-only file only when the user agreed.
TEST_F(DesignFiles, ReplacingRespectsTheOldFile) {
    const struct { const char* name; mode_t mode; ReadOnlyFile agreed; bool refused; mode_t kept; } cases[] = {
        {"read-only.pdf", 0444, ReadOnlyFile::Refuse, true, 0444},
        {"agreed.pdf", 0444, ReadOnlyFile::Replace, false, 0444},
        {"setuid.png", 04755, ReadOnlyFile::Refuse, false, 0755},
        {"setgid.png", 02775, ReadOnlyFile::Refuse, false, 0775},
    };
    for (const auto& c : cases) {
        const QByteArray path = QFile::encodeName(PathOf(c.name));
        std::ofstream(path.constData()) << "old";
        ASSERT_EQ(chmod(path.constData(), c.mode), 0);
        EXPECT_EQ(IsReadOnlyFile(PathOf(c.name)), (c.mode & 0222) == 0) << c.name;
        const auto written = WriteFileSafely(PathOf(c.name), [](QIODevice& f) { f.write("new"); return QString(); },
                                             c.agreed);
        EXPECT_EQ(!written, c.refused) << c.name;
        EXPECT_EQ(written.message().find("read-only") != std::string::npos, c.refused) << c.name;
        struct stat status {};
        ASSERT_EQ(stat(path.constData(), &status), 0);
        EXPECT_EQ(status.st_size, 3);
        EXPECT_EQ(status.st_mode & 07777, c.kept) << c.name;
        // Root replacing another user's file gives it back to that user.
        if (geteuid() == 0 && !c.refused) {
            ASSERT_EQ(chown(path.constData(), 4321, 4322), 0);
            ASSERT_TRUE(WriteFileSafely(PathOf(c.name), [](QIODevice&) { return QString(); }, c.agreed));
            ASSERT_EQ(stat(path.constData(), &status), 0);
            EXPECT_EQ(status.st_uid * 10000 + status.st_gid, 4321u * 10000 + 4322u) << c.name;
        }
    }
}

// A disk that cannot take the file (a file size limit stands in for it) is
// reported with the system's reason, and the old file stays.
TEST_F(DesignFiles, AFullDiskIsReportedWithItsCause) {
    const std::string path = PathOf("report.pdf").toStdString();
    std::ofstream(path) << "old";
    rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto old_handler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto written = WriteDesignReport(PageOf(TestKind::Sign, {}), path);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, old_handler);
    const std::string& error = written.message();
    EXPECT_FALSE(written);
    EXPECT_NE(error.find(std::string(": ") + std::strerror(EFBIG) + "."), std::string::npos) << error;
    EXPECT_EQ(QFileInfo(PathOf("report.pdf")).size(), 3);  // the old file
}

// A disk that fails to keep the bytes (the sync before the rename reports an
// input/output error) fails the write, and the old file stays.
TEST_F(DesignFiles, AFailedSyncIsReportedAndKeepsTheOldFile) {
    const std::string path = PathOf("plan.vplan").toStdString();
    std::ofstream(path) << "old";
    const SyncStep failing = [](int) {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(WriteBytesSafely(path, "new", ReadOnlyFile::Refuse, failing), std::strerror(EIO));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"plan.vplan"}));
    EXPECT_EQ(QFileInfo(PathOf("plan.vplan")).size(), 3);
}

// On the printed chart the labels of the lines a tenth of the DCGL apart
// stand clear of each other on one row, and the red lines are named.
TEST_F(DesignFiles, ReportChartLabelsDoNotTouch) {
    const auto written = WriteDesignReport(PageOf(TestKind::Sign, {}), PathOf("l.pdf").toStdString());
    ASSERT_TRUE(written) << written.message();
    const QString boxes = Output(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), PathOf("l.pdf"), "-"});
    // The first of each word is the chart's: the power table follows it.
    const auto box = [&](const char* word) {
        const QRegularExpression pattern(QStringLiteral(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>)re") +
                                         QRegularExpression::escape(QLatin1String(word)) + QStringLiteral("<"));
        const QRegularExpressionMatch m = pattern.match(boxes);
        return std::array<double, 3>{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()};
    };
    const std::array<double, 3> p90 = box("90%"), p100 = box("100%"), p110 = box("110%");
    EXPECT_TRUE(p90[1] == p100[1] && p100[1] == p110[1]) << "not on one row: touching labels read as one";
    EXPECT_GT(p100[0] - p90[2], 4);  // points
    EXPECT_GT(p110[0] - p100[2], 4);
    EXPECT_GT(box("LBGR")[2], 0);
    EXPECT_GT(box("DCGL")[2], 0);
}

}  // namespace
}  // namespace valdris
