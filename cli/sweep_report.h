// SPDX-License-Identifier: Apache-2.0
#pragma once
// The output of a sweep: one row per swept value with D/s, the sample size
// and the critical value, or the reason the rules refused that value. Each
// row is written as it comes, so the first appears at once and nothing is
// kept; JSON is an array streamed element by element.

#include <ostream>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "options.h"
#include "sweep.h"

namespace valdris::cli {

class SweepWriter {
public:
    // The power at the LBGR of each row's design comes from the engine given.
    SweepWriter(std::ostream& out, OutputFormat format, TestKind test, SweptInput swept,
                const DesignEngine& engine = kEngine);

    // Each designed row carries its design check with this seed.
    void CheckEachRow(uint64_t seed) { check_seed_ = seed; }

    void Begin();
    void Row(const SweepRow& row);
    void End();

private:
    void TextRow(const SweepRow& row);
    void CsvRow(const SweepRow& row);
    void JsonRow(const SweepRow& row);
    void Add(std::initializer_list<std::string_view> pieces);
    void AddPadded(std::size_t width, const std::string& text);

    std::ostream& out_;
    OutputFormat format_;
    TestKind test_;
    SweptInput swept_;
    DesignEngine engine_;
    std::string json_key_;  // the swept input's name as a JSON string
    bool first_row_ = true;
    std::string row_;  // the row being written, its storage kept between rows
    std::optional<uint64_t> check_seed_;
};

}  // namespace valdris::cli
