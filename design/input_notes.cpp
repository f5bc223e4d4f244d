// SPDX-License-Identifier: Apache-2.0
#include "input_notes.h"

#include "number_text.h"
#include "result_texts.h"

namespace valdris {

std::string SigmaArrowsTip(double step) {
    if (!(step > 0)) {
        return "The arrows step sigma by a hundredth of the DCGL, rounded to 0.01:\n"
               "below a DCGL of 0.5 that is 0, so they are off. Type sigma instead.";
    }
    return "Step sigma by " + WriteNumber(step) + " (Up and Down in the sigma box too)";
}

std::string OtherTestNote(TestKind shown, TestKind selected) {
    if (shown == selected) return {};
    return "Results of the " + TestCaption(shown) + " (F5 updates)";
}

std::string OtherTestTip(TestKind shown, TestKind selected) {
    if (shown == selected) return {};
    return "These are the results of the " + TestCaption(shown) + ". Click the chart or press F5 for the " +
           TestCaption(selected) + ".";
}

}  // namespace valdris
