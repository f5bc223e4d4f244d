#pragma once
// Turns the five design inputs into a design state exactly as the design
// window's load step does, after applying the window's acceptance rules.

#include <optional>
#include <string>

#include "design_state.h"

namespace valdris::cli {

enum class TestKind { Sign, WRS };

// The inputs as read from the command line, before any rounding. The
// defaults are the design window's.
struct DesignInputs {
    double alpha = 0.05;
    double beta = 0.05;
    double sigma = 0.5;
    double dcgl = 1.0;
    double lbgr = 0.5;
};

// Each rule gives the message of the first check that fails, or nothing.
// Alpha, beta and sigma are checked at single precision, as they are stored.
std::optional<std::string> CheckDecisionErrors(double alpha, double beta);
std::optional<std::string> CheckDCGL(double dcgl);
std::optional<std::string> CheckSigma(double sigma, double dcgl);
std::optional<std::string> CheckLBGR(double lbgr, double dcgl);

// All rules in the order above: decision errors, DCGL, sigma, LBGR.
std::optional<std::string> CheckInputs(const DesignInputs& inputs);

// The state the design routines read: alpha, beta and sigma rounded to
// single precision, Delta = single(DCGL - LBGR), DoverS = Delta / Sigma.
// Only for inputs that CheckInputs accepted.
DesignState PrepareState(const DesignInputs& inputs);

// Either a finished design or the reason it was refused.
struct DesignRun {
    std::optional<DesignState> state;
    std::string refusal;
};

// Checks the inputs and runs the chosen design routine on them.
DesignRun RunDesign(TestKind test, const DesignInputs& inputs);

}  // namespace valdris::cli
