// SPDX-License-Identifier: Apache-2.0
#pragma once
// A stored input named as the step tables name it (Alpha, Beta, Sigma, DCGL,
// LBGR), compared at the width it is stored in.

#include <gtest/gtest.h>

#include <string>

#include "design_state.h"
#include "number_text.h"

namespace valdris::testing {

// A step table's expectation, "name=value": the name, the value's text and
// the number it starts with.
struct Expectation {
    std::string name;
    std::string text;
    double number;
};
inline Expectation ReadExpectation(const std::string& name_equals_value) {
    const std::size_t eq = name_equals_value.find('=');
    const std::string text = name_equals_value.substr(eq + 1);
    return {name_equals_value.substr(0, eq), text, LeadingNumber(text)};
}

// False when the name is no stored input.
inline bool ExpectStoredInput(const DesignState& s, const std::string& name, double number) {
    const float single = static_cast<float>(number);
    if (name == "Alpha") {
        EXPECT_EQ(s.Alpha, single);
    } else if (name == "Beta") {
        EXPECT_EQ(s.Beta, single);
    } else if (name == "Sigma") {
        EXPECT_EQ(s.Sigma, single);
    } else if (name == "DCGL") {
        EXPECT_EQ(s.DCGL, number);
    } else if (name == "LBGR") {
        EXPECT_EQ(s.LBGR, number);
    } else {
        return false;
    }
    return true;
}

}  // namespace valdris::testing
