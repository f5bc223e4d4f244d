// SPDX-License-Identifier: Apache-2.0
#pragma once
// Many values of one kind kept side by side in one room that is filled from
// its start, each handed out as a SharedOptional that shares the whole room:
// no allocation per value, and the room's pages asked for ahead of the
// writing (PagesAhead). The room lives while any value handed out does.

#include <cstddef>
#include <memory>
#include <vector>

#include "filled_memory.h"
#include "shared_optional.h"

namespace valdris {

template <typename T>
class SharedRoom {
public:
    // Room for at most `most` values; only what is kept takes memory.
    explicit SharedRoom(std::size_t most) : room_(std::make_shared<Room>(most)) {}

    // The value, kept in the room; beyond its room, a value of its own (the
    // room's values never move, so none handed out is ever left dangling).
    SharedOptional<T> Keep(const T& value) {
        Room& room = *room_;
        if (room.values.size() == room.values.capacity()) return SharedOptional<T>(value);
        room.pages.Reach((room.values.size() + 1) * sizeof(T));
        room.values.push_back(value);
        return SharedOptional<T>(std::shared_ptr<const T>(room_, &room.values.back()));
    }

private:
    struct Room {
        explicit Room(std::size_t most) : values(Reserved(most)), pages(values.data(), most * sizeof(T)) {}
        static std::vector<T> Reserved(std::size_t most) {
            std::vector<T> values;
            values.reserve(most);
            return values;
        }
        std::vector<T> values;
        PagesAhead pages;
    };
    std::shared_ptr<Room> room_;
};

}  // namespace valdris
