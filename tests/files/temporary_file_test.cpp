// SPDX-License-Identifier: Apache-2.0
// The new file of a safe write: nothing of it beside the target while it is
// written (where the file system allows), whole under the target's name once
// put in place, and nothing left when it is discarded or its writer killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "folder_contents.h"
#include "temporary_file.h"

namespace valdris {
namespace {

using testing::Contents;
using testing::Names;

void Write(const TemporaryFile& file, const std::string& text) {
    ASSERT_EQ(write(file.handle, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

// Whether the file system here gives unnamed files at all; where it does
// not, both namings take the named path and the rows below still hold.
bool UnnamedAvailable(const std::string& folder) {
    TemporaryFile probe = OpenTemporaryBeside(folder + "/probe");
    const bool unnamed = probe.handle >= 0 && probe.name.empty();
    Discard(probe);
    return unnamed;
}

struct Folder {
    std::string path;
    Folder() {
        char name[] = "/tmp/valdris-temporary-XXXXXX";
        path = mkdtemp(name);
    }
    ~Folder() {
        for (const std::string& name : Names(path)) unlink((path + "/" + name).c_str());
        rmdir(path.c_str());
    }
};

const TemporaryNaming kNamings[] = {TemporaryNaming::UnnamedWherePossible, TemporaryNaming::NamedFromTheStart};

TEST(TemporaryFile, IsPutInPlaceWholeOrLeavesNothing) {
    for (const TemporaryNaming naming : kNamings) {
        const Folder folder;
        const bool unnamed = naming == TemporaryNaming::UnnamedWherePossible && UnnamedAvailable(folder.path);
        const std::string target = folder.path + "/plan.vplan";
        std::ofstream(target) << "old";
        for (const bool complete : {false, true}) {
            TemporaryFile file = OpenTemporaryBeside(target, naming);
            ASSERT_GE(file.handle, 0);
            struct stat status {};
            ASSERT_EQ(fstat(file.handle, &status), 0);
            EXPECT_EQ(status.st_mode & 07777, 0600u) << "only the user may see it while it is written";
            Write(file, "new");
            EXPECT_EQ(Names(folder.path).size(), unnamed ? 1u : 2u) << "a name while written only as a fallback";
            if (complete) {
                EXPECT_EQ(PutInPlace(file), "");
            } else {
                Discard(file);
            }
            EXPECT_EQ(Contents(target), complete ? "new" : "old");
            EXPECT_EQ(Names(folder.path), std::vector<std::string>{"plan.vplan"}) << "no temporary is left";
            EXPECT_LT(file.handle, 0);
        }
    }
}

// A writer killed mid-way: an unnamed file vanishes with it, a named one
// (the fallback) stays beside the target, and the target is untouched.
TEST(TemporaryFile, AWriterKilledMidWayLeavesNothingWhenUnnamed) {
    for (const TemporaryNaming naming : kNamings) {
        const Folder folder;
        const bool unnamed = naming == TemporaryNaming::UnnamedWherePossible && UnnamedAvailable(folder.path);
        const std::string target = folder.path + "/out.csv";
        std::ofstream(target) << "old";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TemporaryFile file = OpenTemporaryBeside(target, naming);
            if (file.handle >= 0 && write(file.handle, "half", 4) != 4) _exit(1);
            raise(SIGKILL);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(Contents(target), "old");
        EXPECT_EQ(Names(folder.path).size(), unnamed ? 1u : 2u);
    }
}

// A target in a folder that does not exist: no file, and the reason kept.
TEST(TemporaryFile, AMissingFolderGivesNoFile) {
    for (const TemporaryNaming naming : kNamings) {
        const TemporaryFile file = OpenTemporaryBeside("/nonexistent-folder-of-valdris/out.csv", naming);
        EXPECT_LT(file.handle, 0);
        EXPECT_EQ(errno, ENOENT);
    }
}

}  // namespace
}  // namespace valdris
