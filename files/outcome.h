// SPDX-License-Identifier: Apache-2.0
#pragma once
// The error convention of the Qt-free layers: a step gives its value, or the
// refusal saying why there is none (a usage error, a rule, a file that could
// not be read or written), which the step's caller reports.

#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "refusal.h"

namespace valdris {

// The value of a step that gives none but can fail (a file written).
struct Done {};

template <typename T>
class Outcome {
    static_assert(!std::is_same_v<T, Refusal>, "a refusal is not a value");

public:
    Outcome(T value) : value_(std::move(value)) {}                // NOLINT: a value is a successful outcome
    Outcome(Refusal refusal) : refusal_(std::move(refusal)) {}    // NOLINT: so is a refusal a failed one
    static Outcome Failure(Refusal refusal) { return Outcome(std::move(refusal)); }
    static Outcome Failure(RefusalKind kind, std::string text) {
        return Outcome(Refusal{kind, std::move(text), MessageIcon::Exclamation});
    }

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    const Refusal& refusal() const { return refusal_; }
    const std::string& message() const { return refusal_.text; }

private:
    std::optional<T> value_;
    Refusal refusal_{RefusalKind::DesignNotANumber, {}};  // unread while there is a value
};

}  // namespace valdris
