// SPDX-License-Identifier: Apache-2.0
#pragma once
// The engine as it stood before its restructuring for speed, frozen: the
// bit-identity test and the engine benchmark compare the engine with it.
// Not linked into any program; do not change it. Same declarations as the
// engine's own header, in a namespace of their own.

#include <cstdint>
#include <functional>
#include <optional>

#include "design_state.h"

namespace valdris::reference {

// As the engine's, in the same order (compared as whole numbers).
enum class DesignOutcome {
    Ok,
    SampleSizeOutOfRange,
};

double Erf(double x);
double NormalCdf(double x);
double NormalQuantile(float p);

using BivnorErrorReporter = std::function<void(double r)>;
double BIVNOR(double h, double k, double r, const BivnorErrorReporter& report_error = {});

constexpr int32_t kSignExactCriticalValueBelow = 50;
constexpr int32_t kSignExactPowerUpTo = 50;
double BinomialCdf(int32_t n, int32_t m, double p);

constexpr int32_t kWRSExactSizeLimit = 20;
double CalcWRSCriticalValue(int32_t a, int32_t b, float alpha);
double WRSJointProbability(double shift);

DesignOutcome DesignSignTest(DesignState& state);
DesignOutcome DesignWRSTest(DesignState& state);

std::optional<int32_t> SignCriticalValue(int32_t n, float alpha);
double SignPower(int32_t n, int32_t critical, double shift);
double WRSPower(int32_t n, double critical, double shift);
DesignOutcome DesignSignTestForSize(DesignState& state, int32_t n);
DesignOutcome DesignWRSTestForSize(DesignState& state, int32_t n);

}  // namespace valdris::reference
