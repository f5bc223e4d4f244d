// SPDX-License-Identifier: Apache-2.0
#include "check_output.h"

#include <cmath>

#include "number_output.h"

namespace valdris::cli {
namespace {

std::string OrNull(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? ExactNumber(*value) : "null";
}
std::string OrNull(const std::optional<int32_t>& value) { return value ? std::to_string(*value) : "null"; }

}  // namespace

std::string JsonCheckObject(const CheckedDesign& checked) {
    const DesignCheck& c = checked.check;
    return "{\"type1_error\": " + ExactNumber(c.type1_error) + ", \"type1_method\": " + JsonString(Type1Method(c)) +
           ", \"power_normal\": " + OrNull(std::optional<double>(c.power_normal)) + ", \"power_normal_se\": " +
           OrNull(std::optional<double>(c.power_normal_se)) + ", \"power_lognormal\": " + OrNull(c.power_lognormal) +
           ", \"power_lognormal_se\": " + OrNull(c.power_lognormal_se) + ", \"n_min\": " + OrNull(c.n_min) +
           ", \"n_min_critical_value\": " + OrNull(c.n_min_critical_value) +
           ", \"n_exact_quantile\": " + OrNull(checked.n_exact_quantile) +
           ", \"replications\": " + std::to_string(c.replications) + ", \"seed\": " + std::to_string(c.seed) + "}";
}

void WriteJsonCheck(std::ostream& out, const CheckedDesign& checked, const std::string& indent) {
    out << indent << "\"check\": " << JsonCheckObject(checked);
}

void WriteTextCheck(std::ostream& out, const CheckedDesign& checked) {
    out << "Design check\n";
    for (const ReportLine& line : CheckLines(checked)) out << "  " << line.label << ": " << line.value << '\n';
}

}  // namespace valdris::cli
