// SPDX-License-Identifier: Apache-2.0
#pragma once
// The seam between the companion and its drawing module. Everything that
// needs Qt (fonts, images, SVG) lives in the module, which the companion
// loads only when it draws; computing a design starts no toolkit at all.
// Plain C++ on both sides.

#include <cstddef>
#include <string>

#include "design_report.h"
#include "design_state.h"
#include "plan.h"

namespace valdris::cli {

// Raised whenever DrawingFunctions changes, so that a companion never calls
// into a module from another build.
constexpr int kDrawingInterfaceVersion = 3;

struct DrawingFunctions {
    int interface_version;
    std::size_t design_state_size;  // the layout both sides were built with
    // The chart as PNG or SVG after the file's extension; false with a
    // readable reason.
    bool (*write_chart)(const DesignState& state, const std::string& path, std::string& error);
    // The one-page design report as a PDF; false with a readable reason.
    bool (*write_report)(const DesignReport& report, const DesignState& state, const std::string& path,
                         std::string& error);
    // The plan report (the plan's table, then a page a unit) as a PDF.
    bool (*write_plan_report)(const SurveyPlan& plan, const std::string& title, const std::string& path,
                              std::string& error);
};

// The one symbol the module exports.
inline constexpr const char* kDrawingEntryPoint = "valdris_drawing_functions";
using DrawingEntryPoint = const DrawingFunctions* (*)();

}  // namespace valdris::cli
