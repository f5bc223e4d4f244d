// SPDX-License-Identifier: Apache-2.0
#include "filled_memory.h"
#include "shared_room.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace valdris {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::size_t kStep = 2 * kMiB;

// Pages are there for every byte written, and never asked for more than a
// large page beyond it: a room reserved for an estimate that overshoots
// (a hostile file's count of units) must not cost its whole size.
TEST(PagesAhead, KeepsTheWritingCoveredAndAtMostOneStepAhead) {
    std::unique_ptr<char, decltype(&std::free)> block(static_cast<char*>(std::aligned_alloc(kStep, 24 * kMiB)),
                                                      &std::free);
    ASSERT_NE(block, nullptr);
    const struct {
        std::size_t offset;  // of the room from a large page's start
        std::size_t bytes;
        std::vector<std::size_t> fills;
    } cases[] = {
        {0, 10 * kMiB, {1, kStep, kStep + 1, 5 * kMiB, 10 * kMiB}},
        {4096, 10 * kMiB, {1, 100, kStep - 4096, kStep, 9 * kMiB, 10 * kMiB}},
        {12345, 20 * kMiB, {7 * kMiB + 3, 7 * kMiB + 4, 19 * kMiB, 20 * kMiB}},
        {100, kMiB, {1, kMiB}},  // under a step: left to the faults
    };
    for (const auto& c : cases) {
        char* room = block.get() + c.offset;
        PagesAhead pages(room, c.bytes);
        std::size_t written = 0;
        for (const std::size_t filled : c.fills) {
            pages.Reach(filled);
            EXPECT_GE(pages.ready(), filled) << c.offset << " " << filled;
            EXPECT_LE(pages.ready(), std::min(c.bytes, filled + kStep)) << c.offset << " " << filled;
            for (; written < filled; written += 4096) room[written] = 1;  // the advice changed nothing written
        }
        if (c.bytes < kStep) {
            EXPECT_EQ(pages.ready(), c.bytes) << "asks for nothing";
        }
    }
}

// Values kept in a room outlive it and the room's end: each is what was
// kept, whether it went into the room or, once the room was full, on its own.
TEST(SharedRoom, KeptValuesStayWhatWasKeptBeyondTheRoomAndItsEnd) {
    std::vector<SharedOptional<std::vector<int>>> kept;
    {
        SharedRoom<std::vector<int>> room(2);
        for (int i = 0; i < 5; ++i) kept.push_back(room.Keep(std::vector<int>(100, i)));
    }
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(kept[i]) << i;
        EXPECT_EQ(*kept[i], std::vector<int>(100, i)) << i;
    }
}

}  // namespace
}  // namespace valdris
