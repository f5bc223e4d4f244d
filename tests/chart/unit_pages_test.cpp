// SPDX-License-Identifier: Apache-2.0
// A unit's further pages in the plan report: the sections flow onto as many
// pages as they need, and no more.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "unit_pages.h"

namespace valdris {
namespace {

PlanEntry SignEntry(std::size_t values) {
    PlanUnit unit;
    unit.name = "Yard";
    for (std::size_t k = 0; k < values; ++k) unit.survey_data.push_back(0.05 * static_cast<double>(k % 30));
    return MakeEntry(unit, *ComputeUnit(unit).figures);
}

// The pages the sections take on A4 with the report's margins.
int PagesOf(const PlanEntry& entry) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    QPainter painter(&writer);
    int begun = 0;
    const int pages = PaintSections(painter, writer.pageLayout().paintRect(QPageLayout::Point).size(), entry,
                                    UnitReportSections(entry), QStringLiteral("Survey Unit: Yard"), [&] {
                                        ++begun;
                                        return writer.newPage();
                                    });
    EXPECT_EQ(pages, begun + 1);
    return pages;
}

TEST(UnitPages, SectionsTakeThePagesTheyNeed) {
    const struct {
        std::size_t values;
        int least, most;
    } cases[] = {
        {20, 1, 1},                  // the verdict, the plot and a few values
        {200, 2, 2},                 // the list goes on over the page
        {kMostListedValues * 4, 3, 4},  // only the listed part is printed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values);
        const int pages = PagesOf(SignEntry(c.values));
        EXPECT_GE(pages, c.least);
        EXPECT_LE(pages, c.most);
    }
}

}  // namespace
}  // namespace valdris
