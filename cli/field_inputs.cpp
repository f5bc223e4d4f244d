// SPDX-License-Identifier: Apache-2.0
#include "field_inputs.h"

#include "field_text_input.h"
#include "number_text.h"
#include "options.h"
#include "refusal_text.h"
#include "site_boundary.h"

namespace valdris::cli {

namespace {

Outcome<double> Number(const std::string& option, const std::string& text) {
    const auto value = StrictNumber(text);
    if (!value) return Outcome<double>::Failure(RefusalKind::CommandLine, NotANumberMessage(option, text));
    return *value;
}

Outcome<AreaFactorTable> ReadAreaFactors(const std::string& text) {
    auto table = ParseAreaFactors(text);
    if (!table) {
        return Outcome<AreaFactorTable>::Failure(RefusalKind::CommandLine, "The value of --area-factors is not a list of area:factor pairs: \"" +
                                                 text + "\"");
    }
    return *table;
}

Outcome<Nuclide> ReadNuclide(const std::string& text) {
    auto nuclide = ParseNuclide(text);
    if (!nuclide) {
        return Outcome<Nuclide>::Failure(RefusalKind::CommandLine, 
            "The value of --nuclide is not NAME:DCGL:SIGMA or NAME:DCGL:SIGMA:CONCENTRATION: \"" + text + "\"");
    }
    return *nuclide;
}

Outcome<std::optional<UnitSize>> ReadSize(const FieldRequest& request) {
    using Result = Outcome<std::optional<UnitSize>>;
    std::optional<Outcome<UnitSize>> checked;
    if (request.area) {
        const auto area = Number("--area", *request.area);
        if (!area) return Result::Failure(area.refusal());
        checked = SizeFromArea(*area);
    } else if (request.width && request.height) {
        const auto width = Number("--width", *request.width);
        if (!width) return Result::Failure(width.refusal());
        const auto height = Number("--height", *request.height);
        if (!height) return Result::Failure(height.refusal());
        checked = SizeFromRectangle(*width, *height);
    } else {
        return std::optional<UnitSize>();
    }
    if (!*checked) return Result::Failure(checked->refusal().kind, RefusalText(checked->refusal()));
    return std::optional<UnitSize>(**checked);
}

// A drawn boundary: read, chosen, measured; its area the unit's size. The
// file is read only once every option has been read as a value.
std::optional<Refusal> ReadSite(const FieldRequest& request, FieldSetup& setup) {
    SiteGrid site;
    if (request.grid_angle) {
        const auto number = Number("--grid-angle", *request.grid_angle);
        if (!number) return number.refusal();
        const auto angle = CheckedGridAngle(*number);
        if (!angle) return angle.refusal();
        site.angle = *angle;
    }
    if (request.origin) {
        const auto origin = ReadOrigin(*request.origin);
        if (!origin) return origin.refusal();
        site.origin = *origin;
    }
    site.shortfall = request.shortfall.value_or(Shortfall::AddRandom);
    const auto measured = ImportBoundary(SplitBoundarySource(*request.boundary), request.feature.value_or(""));
    if (!measured) return measured.refusal();
    const Outcome<UnitSize> size = SizeFromArea(measured->area);
    if (!size) return size.refusal();
    site.boundary = measured->boundary;
    setup.size = *size;
    setup.site = std::move(site);
    return std::nullopt;
}

// The elevated-area check's inputs and the nuclides, after the size.
std::optional<Refusal> ReadChecks(const FieldRequest& request, FieldInputs& inputs) {
    if (request.scan_mdc) {
        const auto mdc = Number("--scan-mdc", *request.scan_mdc);
        if (!mdc) return mdc.refusal();
        if (auto refusal = ScanMDCRefusal(*mdc)) return refusal;
        inputs.setup.scan_mdc = *mdc;
        const auto table = ReadAreaFactors(*request.area_factors);
        if (!table) return table.refusal();
        if (auto refusal = AreaFactorTableRefusal(*table)) return refusal;
        inputs.setup.area_factors = *table;
    }
    for (const std::string& text : request.nuclides) {
        const auto nuclide = ReadNuclide(text);
        if (!nuclide) return nuclide.refusal();
        inputs.nuclides.push_back(*nuclide);
    }
    if (auto refusal = NuclidesRefusal(inputs.nuclides)) return refusal;
    if (!inputs.nuclides.empty()) inputs.sum = CombineNuclides(inputs.nuclides);
    return std::nullopt;
}

}  // namespace

Outcome<FieldInputs> ReadFieldInputs(const FieldRequest& request) {
    FieldInputs inputs;
    if (request.boundary) {
        if (auto failure = ReadSite(request, inputs.setup)) {
            return Outcome<FieldInputs>::Failure(failure->kind, RefusalText(*failure));
        }
    } else {
        const auto size = ReadSize(request);
        if (!size) return Outcome<FieldInputs>::Failure(size.refusal());
        inputs.setup.size = *size;
    }
    inputs.setup.grid = request.grid.value_or(GridType::Triangular);
    if (request.seed) {
        const Outcome<std::uint64_t> seed = ReadSeed(*request.seed);
        if (!seed) return Outcome<FieldInputs>::Failure(seed.refusal().kind, RefusalText(seed.refusal()));
        inputs.setup.seed = *seed;
    } else if (request.width || request.boundary) {
        inputs.setup.seed = DrawSeed();
    }
    if (auto failure = ReadChecks(request, inputs)) return Outcome<FieldInputs>::Failure(failure->kind, RefusalText(*failure));
    return inputs;
}


}  // namespace valdris::cli
