// SPDX-License-Identifier: Apache-2.0
#pragma once
// An optional value, never changed once made, held on the heap and shared by
// its copies: a large value that most holders lack costs each of them one
// pointer, and a copy (undo keeps copies of whole rows) allocates nothing.

#include <memory>
#include <optional>
#include <utility>

namespace valdris {

template <typename T>
class SharedOptional {
public:
    SharedOptional() = default;
    SharedOptional(std::nullopt_t) {}  // NOLINT: as an optional is made empty
    SharedOptional(std::optional<T> value)  // NOLINT: and from an optional
        : value_(value ? std::make_shared<const T>(std::move(*value)) : nullptr) {}
    SharedOptional(T value) : value_(std::make_shared<const T>(std::move(value))) {}  // NOLINT: as an optional is set
    // A value already shared (one of many kept side by side, SharedRoom).
    explicit SharedOptional(std::shared_ptr<const T> value) : value_(std::move(value)) {}

    explicit operator bool() const { return value_ != nullptr; }
    bool has_value() const { return value_ != nullptr; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return value_.get(); }

private:
    std::shared_ptr<const T> value_;
};

}  // namespace valdris
