// SPDX-License-Identifier: Apache-2.0
// The plan reader and the measurement reader against damaged files: valid
// files mutated a few thousand times each (bytes flipped, cut short, NULs,
// quotes, braces, huge numbers and keys written twice put in) must give
// either a value with every number finite or exactly one refusal, and never
// crash. Each case is seeded; a failure names its seed, and the same seed
// makes the same file again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "measurement_text.h"
#include "plan_file.h"
#include "text_mutation.h"

namespace valdris {
namespace {

constexpr int kCasesPerReader = 3000;

bool Finite(const std::vector<double>& values) {
    for (double value : values) {
        if (!std::isfinite(value)) return false;
    }
    return true;
}

bool Finite(const std::optional<double>& value) { return !value || std::isfinite(*value); }

// Every number a unit keeps.
bool UnitFinite(const PlanUnit& unit) {
    bool finite = std::isfinite(unit.alpha) && std::isfinite(unit.beta) && std::isfinite(unit.sigma) &&
                  std::isfinite(unit.dcgl) && std::isfinite(unit.lbgr) && Finite(unit.costs.fixed) &&
                  Finite(unit.costs.per_sample) && Finite(unit.survey_data.values()) &&
                  Finite(unit.reference_data.values()) && Finite(unit.field.scan_mdc);
    if (unit.field.size) {
        finite = finite && std::isfinite(unit.field.size->area) && Finite(unit.field.size->width) &&
                 Finite(unit.field.size->height);
    }
    for (const AreaFactor& row : unit.field.area_factors) {
        finite = finite && std::isfinite(row.area) && std::isfinite(row.factor);
    }
    for (const Nuclide& nuclide : unit.nuclides) {
        finite = finite && std::isfinite(nuclide.dcgl) && std::isfinite(nuclide.sigma) && Finite(nuclide.concentration);
    }
    return finite;
}

// A plan with every kind of key: a field unit, radionuclides, measurements
// of both sets, costs.
std::string ValidPlanFile() {
    SurveyPlan plan;
    PlanUnit a;
    a.name = "A";
    a.given_n = 20;
    a.costs.fixed = 100;
    a.costs.per_sample = 12.5;
    a.field.size = UnitSize{50.0 * 40.1, 50.0, 40.1};
    a.field.seed = 9007199254740991ULL;
    a.field.scan_mdc = 2.5;
    a.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}};
    a.survey_data = MeasurementSet({0.1, 0.25, 1.5, 0.75}, "Cs-137 (Bq/kg)");
    PlanUnit b;
    b.name = "B";
    b.test = TestKind::WRS;
    b.field.size = UnitSize{2000.0 / 3, std::nullopt, std::nullopt};
    b.field.grid = GridType::Square;
    b.field.seed = 0;
    b.nuclides = {{"Co-60", 5, 0.5, 1.0 / 3}, {"Cs-137", 10, 2, std::nullopt}};
    b.survey_data = MeasurementSet({1, 2, 3});
    b.reference_data = MeasurementSet({0.5, 0.25});
    EXPECT_TRUE(plan.Add(a));
    EXPECT_TRUE(plan.Add(b));
    return WritePlan(plan);
}

TEST(ReaderFuzz, APlanFileIsReadWholeOrRefusedOnce) {
    const std::string valid = ValidPlanFile();
    ASSERT_TRUE(ReadPlan(valid));
    int read = 0;
    for (int seed = 1; seed <= kCasesPerReader; ++seed) {
        std::mt19937_64 random(static_cast<std::uint64_t>(seed));
        const std::string bytes = Mutate(valid, random);
        const PlanReading reading = ReadPlan(bytes);
        if (!reading) {
            ASSERT_FALSE(reading.message().empty()) << "seed " << seed << ": refused without a message";
            continue;
        }
        ASSERT_TRUE(reading.message().empty()) << "seed " << seed << ": read, yet refused: " << reading.message();
        ++read;
        for (const PlanEntry& entry : reading->entries()) {
            ASSERT_TRUE(UnitFinite(entry.unit)) << "seed " << seed << ": a number not finite was kept";
        }
        ASSERT_TRUE(Finite(reading->default_costs().fixed) && Finite(reading->default_costs().per_sample))
            << "seed " << seed;
        // What was taken is written and read back as it is.
        const std::string again = WritePlan(*reading);
        const PlanReading second = ReadPlan(again);
        ASSERT_TRUE(second) << "seed " << seed << ": " << second.message();
        ASSERT_EQ(WritePlan(*second), again) << "seed " << seed;
    }
    // Mutations that leave a readable plan (a changed figure, a key written
    // twice) are tried as well as those that break it.
    EXPECT_GT(read, kCasesPerReader / 20);
    EXPECT_LT(read, kCasesPerReader / 2);
}

TEST(ReaderFuzz, MeasurementsAreReadWholeOrRefusedOnce) {
    const std::string valid[] = {
        "Cs-137 (Bq/kg)\n0.4\n1.2\n0.75\n2\n",
        "id,value,note\r\n1,0.5,a\r\n2,0.7,\"b, c\"\r\n3,1e-3,\r\n",
        "1.5\n\n2.5\n3\n-0.25\n",
        "a\tb\n1\t2\n3\t4\n5\t6\n",
    };
    int read = 0;
    for (int seed = 1; seed <= kCasesPerReader; ++seed) {
        std::mt19937_64 random(static_cast<std::uint64_t>(seed));
        const std::string& original = valid[Below(random, std::size(valid))];
        const std::string text = Mutate(original, random);
        const std::string column = Below(random, 4) == 0 ? "value" : "";
        const MeasurementReading reading = ReadMeasurements(text, "survey.csv", column);
        if (!reading) {
            ASSERT_FALSE(reading.message().empty()) << "seed " << seed << ": refused without a message";
            continue;
        }
        ++read;
        ASSERT_GE(reading->values.size(), 2u) << "seed " << seed;
        ASSERT_LE(reading->values.size(), kMostMeasurements) << "seed " << seed;
        ASSERT_TRUE(Finite(reading->values)) << "seed " << seed << ": a number not finite was kept";
        ASSERT_LE(reading->header.size(), kLongestShownHeader) << "seed " << seed;
    }
    EXPECT_GT(read, kCasesPerReader / 20);
    EXPECT_LT(read, kCasesPerReader / 2);
}

}  // namespace
}  // namespace valdris
