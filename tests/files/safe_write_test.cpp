// SPDX-License-Identifier: Apache-2.0
// A file written as it is made: whole once every piece is in, and when a
// piece fails (or the maker gives up) the old file stays and nothing is left
// beside it.
#include <gtest/gtest.h>

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "safe_write.h"

namespace valdris {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

TEST(SafeWrite, AStreamedFileIsWholeOrTheOldOneStays) {
    char folder_template[] = "/tmp/valdris-stream-XXXXXX";
    const std::string folder = mkdtemp(folder_template);
    const std::string path = folder + "/out.csv";
    const struct {
        std::vector<std::string> pieces;
        int give_up_after;  // pieces written before the maker fails; -1: never
        std::string failure;
        std::string left;
    } cases[] = {
        {{"id,x\n", "1,2\n", "3,4\n"}, -1, "", "id,x\n1,2\n3,4\n"},
        {{"a\n", "b\n"}, 1, "the maker failed", "id,x\n1,2\n3,4\n"},
        {{}, -1, "", ""},
        {{std::string(300000, 'x'), "\n"}, -1, "", std::string(300000, 'x') + "\n"},
        {{"z\n"}, 0, "the maker failed", std::string(300000, 'x') + "\n"},
    };
    for (const auto& c : cases) {
        const std::string failure = WriteStreamSafely(path, [&c](const ByteSink& write) {
            for (std::size_t i = 0; i < c.pieces.size(); ++i) {
                if (int(i) == c.give_up_after) return std::string("the maker failed");
                if (std::string failed = write(c.pieces[i]); !failed.empty()) return failed;
            }
            return std::string();
        });
        EXPECT_EQ(failure, c.failure);
        EXPECT_EQ(Contents(path), c.left);
        EXPECT_EQ(Names(folder), std::vector<std::string>{"out.csv"}) << "no temporary file is left";
    }
    unlink(path.c_str());
    rmdir(folder.c_str());
}

}  // namespace
}  // namespace valdris
