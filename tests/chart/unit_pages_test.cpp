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

PlanEntry SignEntry(std::size_t values, bool field = false) {
    PlanUnit unit;
    unit.name = "Yard";
    unit.concentration_unit = "Bq/kg";
    std::vector<double> survey;
    for (std::size_t k = 0; k < values; ++k) survey.push_back(0.05 * static_cast<double>(k % 30));
    unit.survey_data = std::move(survey);
    if (field) {  // everything a unit can hold
        unit.field.size = UnitSize{2000, 50, 40};
        unit.field.seed = 42;
        unit.field.scan_mdc = 2.5;
        unit.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 1.1}};
        unit.nuclides = {{"Co-60", 5, 0.5, 1}, {"Cs-137", 10, 2, 3}};
    }
    const auto check = CheckUnit(unit);
    EXPECT_TRUE(check) << (check ? "" : check.refusal().refusal.text);
    return MakeEntry(unit, *check);
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
        bool field;
        int least, most;
    } cases[] = {
        {20, false, 1, 1},                  // the verdict, the plot and a few values
        {200, false, 2, 2},                 // the list goes on over the page
        {kMostListedValues * 4, false, 3, 4},  // only the listed part is printed
        {20, true, 2, 2},                   // the map and the field's sections first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values);
        const int pages = PagesOf(SignEntry(c.values, c.field));
        EXPECT_GE(pages, c.least);
        EXPECT_LE(pages, c.most);
    }
}

}  // namespace
}  // namespace valdris
