// SPDX-License-Identifier: Apache-2.0
#pragma once
// The error convention of the Qt-free layers: a step gives its value, or the
// message saying why there is none (a usage error, a refusal, a file that
// could not be read), which the step's caller reports.

#include <optional>
#include <string>
#include <utility>

namespace valdris {

// The value of a step that gives none but can fail (a file written).
struct Done {};

template <typename T>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}  // NOLINT: a value is a successful outcome
    static Outcome Failure(std::string message) { return Outcome(std::move(message), 0); }

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const std::string& message() const { return message_; }

private:
    Outcome(std::string message, int) : message_(std::move(message)) {}

    std::optional<T> value_;
    std::string message_;
};

}  // namespace valdris
