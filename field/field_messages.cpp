// SPDX-License-Identifier: Apache-2.0
#include "field_messages.h"

#include "number_text.h"

namespace valdris::field {
namespace {

Refusal Stop(RefusalKind kind, std::string text) { return {kind, std::move(text), MessageIcon::Exclamation}; }

std::string Text(RefusalKind kind) {
    using K = RefusalKind;
    switch (kind) {
    case K::AreaUnusable: return kAreaUnusable;
    case K::WidthUnusable: return kWidthUnusable;
    case K::HeightUnusable: return kHeightUnusable;
    case K::RectangleUnusable: return kRectangleUnusable;
    case K::SeedUnusable: return kSeedUnusable;
    case K::GridTypeUnknown: return kGridTypeUnknown;
    case K::TooManyLocations: return kTooManyLocations;
    case K::ScanMDCUnusable: return kScanMDCUnusable;
    case K::AreaFactorsTooFew: return kAreaFactorsTooFew;
    case K::TooManyElevatedAreaSamples: return kTooManyElevatedAreaSamples;
    case K::NuclideNameMissing: return kNuclideNameMissing;
    case K::WidthWithoutHeight: return kWidthWithoutHeight;
    case K::HeightWithoutWidth: return kHeightWithoutWidth;
    case K::SideWithoutRectangle: return kSideWithoutRectangle;
    case K::AreaFactorsTextUnusable: return kAreaFactorsTextUnusable;
    case K::NuclidesTextUnusable: return kNuclidesTextUnusable;
    case K::DCGLOfNuclides: return kDCGLOfNuclides;
    case K::SigmaOfNuclides: return kSigmaOfNuclides;
    case K::LBGROfConcentrations: return kLBGROfConcentrations;
    case K::TooManyNuclides: return kTooManyNuclides;
    default: return rules::Message(kind).text;  // a kind of the design rules
    }
}

}  // namespace

Refusal Message(RefusalKind kind) { return Stop(kind, Text(kind)); }

Refusal AreaFactorAreaRefusal(double area) {
    return Stop(RefusalKind::AreaFactorArea, "The area factors: the area " + WriteNumber(area) + " is not a number above zero.");
}

Refusal AreaFactorFactorRefusal(double factor) {
    return Stop(RefusalKind::AreaFactorFactor, "The area factors: the factor " + WriteNumber(factor) + " is not a number of at least 1.");
}

Refusal AreaFactorAreasOrderRefusal(double previous, double area) {
    return Stop(RefusalKind::AreaFactorAreasOrder, "The area factors: the areas must increase; " + WriteNumber(area) + " follows " +
                        WriteNumber(previous) + ".");
}

Refusal AreaFactorFactorsOrderRefusal(double previous, double factor) {
    return Stop(RefusalKind::AreaFactorFactorsOrder, "The area factors: the factors must not increase with the area; " + WriteNumber(factor) +
                        " follows " + WriteNumber(previous) + ".");
}

Refusal NuclideDCGLRefusal(const std::string& name) {
    return Stop(RefusalKind::NuclideDCGL, "The DCGL of " + name + " must be a number from 0.000001 to 1000000000.");
}

Refusal NuclideSigmaRefusal(const std::string& name) {
    return Stop(RefusalKind::NuclideSigma, "The sigma of " + name + " must be a number not below zero.");
}

Refusal NuclideConcentrationRefusal(const std::string& name) {
    return Stop(RefusalKind::NuclideConcentration, "The concentration of " + name + " must be a number not below zero.");
}

Refusal NuclideTwiceRefusal(const std::string& name) {
    return Stop(RefusalKind::NuclideTwice, "The radionuclide " + name + " is listed twice.");
}

Refusal AreaFactorCellRefusal(std::size_t row, const std::string& what, const std::string& text) {
    return Stop(RefusalKind::AreaFactorCell, "The area factors, row " + std::to_string(row) + ": the " + what + " \"" + text +
                        "\" is not a number.");
}

}  // namespace valdris::field
