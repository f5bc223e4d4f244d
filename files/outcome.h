// SPDX-License-Identifier: Apache-2.0
#pragma once
// The error convention of the Qt-free layers: a step gives its value, or the
// refusal saying why there is none (a usage error, a rule, a file that could
// not be read or written), which the step's caller reports. A step whose
// refusal must also name where it belongs (an input, a field of a unit)
// gives a richer reason in place of the bare refusal.

#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "refusal.h"

namespace valdris {

// The value of a step that gives none but can fail (a file written).
struct Done {};

template <typename T, typename Why = Refusal>
class Outcome {
    static_assert(!std::is_same_v<T, Why>, "a reason is not a value");

public:
    Outcome(T value) : value_(std::move(value)) {}  // NOLINT: a value is a successful outcome
    Outcome(Why why) : why_(std::move(why)) {}      // NOLINT: and a reason a failed one
    static Outcome Failure(Why why) { return Outcome(std::move(why)); }
    static Outcome Failure(RefusalKind kind, std::string text) {
        return Outcome(Refusal{kind, std::move(text), MessageIcon::Exclamation});
    }

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    // Only on failure.
    const Why& refusal() const { return *why_; }
    const std::string& message() const {
        static const std::string none;  // a value needs no reason
        return why_ ? why_->text : none;
    }

private:
    std::optional<T> value_;
    std::optional<Why> why_;
};

}  // namespace valdris
