// SPDX-License-Identifier: Apache-2.0
#include "field_messages.h"

#include "number_text.h"

namespace valdris::field {

Refusal AreaFactorAreaRefusal(double area) {
    return FieldRefusal("The area factors: the area " + WriteNumber(area) + " is not a number above zero.");
}

Refusal AreaFactorFactorRefusal(double factor) {
    return FieldRefusal("The area factors: the factor " + WriteNumber(factor) + " is not a number of at least 1.");
}

Refusal AreaFactorAreasOrderRefusal(double previous, double area) {
    return FieldRefusal("The area factors: the areas must increase; " + WriteNumber(area) + " follows " +
                        WriteNumber(previous) + ".");
}

Refusal AreaFactorFactorsOrderRefusal(double previous, double factor) {
    return FieldRefusal("The area factors: the factors must not increase with the area; " + WriteNumber(factor) +
                        " follows " + WriteNumber(previous) + ".");
}

Refusal NuclideDCGLRefusal(const std::string& name) {
    return FieldRefusal("The DCGL of " + name + " must be a number from 0.000001 to 1000000000.");
}

Refusal NuclideSigmaRefusal(const std::string& name) {
    return FieldRefusal("The sigma of " + name + " must be a number not below zero.");
}

Refusal NuclideConcentrationRefusal(const std::string& name) {
    return FieldRefusal("The concentration of " + name + " must be a number not below zero.");
}

Refusal NuclideTwiceRefusal(const std::string& name) {
    return FieldRefusal("The radionuclide " + name + " is listed twice.");
}

Refusal AreaFactorCellRefusal(std::size_t row, const std::string& what, const std::string& text) {
    return FieldRefusal("The area factors, row " + std::to_string(row) + ": the " + what + " \"" + text +
                        "\" is not a number.");
}

}  // namespace valdris::field
