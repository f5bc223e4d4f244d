// SPDX-License-Identifier: Apache-2.0
#include "typed_numbers.h"

#include <initializer_list>
#include <utility>

#include "number_text.h"

namespace valdris {

bool HoldsOneNumber(PlanField field) { return FieldRow(field).one_number; }

std::string PointedText(PlanField field, std::string text, bool decimal_comma) {
    return HoldsOneNumber(field) ? WithDecimalPoint(std::move(text), decimal_comma) : text;
}

SizeTexts PointedSize(SizeTexts texts, bool decimal_comma) {
    for (std::string* text : {&texts.area, &texts.width, &texts.height}) {
        *text = WithDecimalPoint(std::move(*text), decimal_comma);
    }
    return texts;
}

std::vector<AreaFactorTexts> PointedAreaFactors(std::vector<AreaFactorTexts> rows, bool decimal_comma) {
    for (AreaFactorTexts& row : rows) {
        row.area = WithDecimalPoint(std::move(row.area), decimal_comma);
        row.factor = WithDecimalPoint(std::move(row.factor), decimal_comma);
    }
    return rows;
}

std::vector<NuclideTexts> PointedNuclides(std::vector<NuclideTexts> rows, bool decimal_comma) {
    for (NuclideTexts& row : rows) {
        for (std::string* text : {&row.dcgl, &row.sigma, &row.concentration}) {
            *text = WithDecimalPoint(std::move(*text), decimal_comma);
        }
    }
    return rows;
}

}  // namespace valdris
