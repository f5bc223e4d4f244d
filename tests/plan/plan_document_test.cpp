// SPDX-License-Identifier: Apache-2.0
// The plan as a document: its names, unsaved work, the autosave's place and
// what is offered from it, and the recent plans.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "plan_document.h"

namespace valdris {
namespace {

namespace fs = std::filesystem;

TEST(PlanDocument, NamesFollowThePlansFile) {
    const struct {
        const char* path;
        const char* shown, * folder, * base, * autosave;
    } cases[] = {
        {"/site/a.vplan", "a.vplan", "/site", "a", "/site/.a.vplan.autosave"},
        {"/site/two.dots.vplan", "two.dots.vplan", "/site", "two.dots", "/site/.two.dots.vplan.autosave"},
        {"/site/plain", "plain", "/site", "plain", "/site/.plain.autosave"},
        {"/x y/\xc3\xa9t\xc3\xa9.vplan", "\xc3\xa9t\xc3\xa9.vplan", "/x y", "\xc3\xa9t\xc3\xa9",
         "/x y/.\xc3\xa9t\xc3\xa9.vplan.autosave"},
    };
    for (const auto& c : cases) {
        PlanDocument document;
        document.Take(c.path, false);
        EXPECT_EQ(document.DisplayName(), c.shown) << c.path;
        EXPECT_EQ(document.Folder(), c.folder) << c.path;
        EXPECT_EQ(document.BaseName(), c.base) << c.path;
        EXPECT_EQ(document.AutosavePath(), c.autosave) << c.path;
    }
    const PlanDocument untitled;
    EXPECT_EQ(untitled.DisplayName(), "Untitled");
    EXPECT_EQ(untitled.Folder(), "");
    EXPECT_EQ(untitled.BaseName(), "plan");
    EXPECT_EQ(untitled.AutosavePath(), UnsavedPlanAutosavePath());
}

TEST(PlanDocument, TheStateFolderFollowsTheEnvironment) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string kept = state ? state : "";
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_STATE_HOME", "/state", 1);
    EXPECT_EQ(UnsavedPlanAutosavePath(), "/state/valdris-power/unsaved-plan.vplan.autosave");
    ::setenv("XDG_STATE_HOME", "", 1);
    EXPECT_EQ(ProgramStateFolder(), "/home/u/.local/state/valdris-power");
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(ProgramStateFolder(), "/home/u/.local/state/valdris-power");
    ::setenv("HOME", home.c_str(), 1);
    if (state) ::setenv("XDG_STATE_HOME", kept.c_str(), 1);
}

// A recovered plan is unsaved work until it is saved, whatever its history.
TEST(PlanDocument, UnsavedWorkIsTheHistorysOrARecoveredPlan) {
    const struct {
        const char* what;
        bool recovered, edited, saved;
        bool unsaved;
    } cases[] = {
        {"as read", false, false, false, false},
        {"edited", false, true, false, true},
        {"recovered", true, false, false, true},
        {"recovered and saved", true, false, true, false},
        {"edited and saved", false, true, true, false},
    };
    for (const auto& c : cases) {
        PlanDocument document;
        SurveyPlan plan;
        document.Take("/site/a.vplan", c.recovered);
        if (c.edited) {
            PlanUnit unit;
            unit.name = "U";
            ASSERT_TRUE(plan.Add(unit));
        }
        if (c.saved) {
            document.Saved("/site/b.vplan");
            plan.MarkSaved();
            EXPECT_EQ(document.Path(), "/site/b.vplan") << c.what;
        }
        EXPECT_EQ(document.HasUnsavedChanges(plan), c.unsaved) << c.what;
    }
}

// Only a regular file under the autosave's name is offered: a folder, a
// link or a pipe there is no work of ours, and offering a link would show
// whatever it points at as the user's work.
TEST(PlanDocument, OnlyARegularFileIsOfferedAsAnAutosave) {
    const fs::path dir = fs::temp_directory_path() / ("plan_document_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "plan.vplan") << "{}";
    const std::string autosave = (dir / ".plan.vplan.autosave").string();
    const struct {
        const char* what;
        std::function<void()> make;
        bool offered;
    } cases[] = {
        {"none", [] {}, false},
        {"a file", [&] { std::ofstream(autosave) << "{}"; }, true},
        {"a folder", [&] { fs::create_directory(autosave); }, false},
        {"a link to a file", [&] { fs::create_symlink(dir / "plan.vplan", autosave); }, false},
        {"a dangling link", [&] { fs::create_symlink(dir / "nothing", autosave); }, false},
        {"a pipe", [&] { ::mkfifo(autosave.c_str(), 0600); }, false},
    };
    for (const auto& c : cases) {
        fs::remove_all(autosave);
        c.make();
        PlanDocument document;
        document.Take((dir / "plan.vplan").string(), false);
        EXPECT_EQ(document.OffersAutosaveOnOpening(), c.offered) << c.what;
        EXPECT_EQ(IsAutosaveFile(autosave), c.offered) << c.what;
    }
    fs::remove_all(dir);
}

// A plan never saved is offered the state folder's autosave only while it
// is new and holds nothing.
TEST(PlanDocument, AnUnsavedPlansAutosaveIsOfferedToANewEmptyPlanOnly) {
    const fs::path dir = fs::temp_directory_path() / ("plan_state_" + std::to_string(::getpid()));
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string kept = state ? state : "";
    ::setenv("XDG_STATE_HOME", dir.c_str(), 1);
    fs::create_directories(dir / "valdris-power");
    std::ofstream(UnsavedPlanAutosavePath()) << "{}";
    const struct {
        const char* what;
        const char* path;
        bool edited;
        bool offered;
    } cases[] = {
        {"new", "", false, true},
        {"new with a unit", "", true, false},
        {"from a file", "/site/a.vplan", false, false},
    };
    for (const auto& c : cases) {
        PlanDocument document;
        SurveyPlan plan;
        document.Take(c.path, false);
        if (c.edited) {
            PlanUnit unit;
            unit.name = "U";
            ASSERT_TRUE(plan.Add(unit));
        }
        EXPECT_EQ(document.OffersUnsavedAutosave(plan), c.offered) << c.what;
    }
    fs::remove_all(dir);
    if (state) {
        ::setenv("XDG_STATE_HOME", kept.c_str(), 1);
    } else {
        ::unsetenv("XDG_STATE_HOME");
    }
}

TEST(RecentPlans, TheLatestFirstOnceAndNoMoreThanEight) {
    using List = std::vector<std::string>;
    const struct {
        List before;
        const char* opened;
        List after;
    } cases[] = {
        {{}, "/a", {"/a"}},
        {{"/a", "/b"}, "/b", {"/b", "/a"}},
        {{"/a", "/b", "/a"}, "/a", {"/a", "/b"}},
        {{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}, "/9", {"/9", "/1", "/2", "/3", "/4", "/5", "/6", "/7"}},
        {{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}, "/8", {"/8", "/1", "/2", "/3", "/4", "/5", "/6", "/7"}},
    };
    for (const auto& c : cases) EXPECT_EQ(WithRecentPlan(c.before, c.opened), c.after) << c.opened;
}

}  // namespace
}  // namespace valdris
