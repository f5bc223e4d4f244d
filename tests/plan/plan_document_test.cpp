// SPDX-License-Identifier: Apache-2.0
// The plan as a document: its names, unsaved work, the autosave's place and
// what is offered from it, and the recent plans.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "file_errand.h"
#include "plan_document.h"

namespace valdris {
namespace {

namespace fs = std::filesystem;

PlanUnit NamedUnit() {
    PlanUnit unit;
    unit.name = "U";
    return unit;
}

TEST(PlanDocument, NamesFollowThePlansFile) {
    const struct {
        const char* path;
        const char* shown, * folder, * base, * autosave;
        const char* unit, * locations;  // a unit's locations file, suggested
    } cases[] = {
        {"/site/a.vplan", "a.vplan", "/site", "a", "/site/.a.vplan.autosave", "North", "/site/a - North - locations.csv"},
        {"/site/two.dots.vplan", "two.dots.vplan", "/site", "two.dots", "/site/.two.dots.vplan.autosave", "B/2",
         "/site/two.dots - B 2 - locations.csv"},
        {"/site/plain", "plain", "/site", "plain", "/site/.plain.autosave", "", "/site/plain - unit - locations.csv"},
        {"/x y/\xc3\xa9t\xc3\xa9.vplan", "\xc3\xa9t\xc3\xa9.vplan", "/x y", "\xc3\xa9t\xc3\xa9",
         "/x y/.\xc3\xa9t\xc3\xa9.vplan.autosave", "..", "/x y/\xc3\xa9t\xc3\xa9 - unit - locations.csv"},
    };
    for (const auto& c : cases) {
        PlanDocument document;
        document.Take(c.path, false);
        EXPECT_EQ(document.DisplayName(), c.shown) << c.path;
        EXPECT_EQ(document.Folder(), c.folder) << c.path;
        EXPECT_EQ(document.BaseName(), c.base) << c.path;
        EXPECT_EQ(document.AutosavePath(), c.autosave) << c.path;
        EXPECT_EQ(LocationsFileName(document, c.unit), c.locations) << c.path;
    }
    const PlanDocument untitled;
    EXPECT_EQ(untitled.DisplayName(), "Untitled");
    EXPECT_EQ(untitled.Folder(), "");
    EXPECT_EQ(untitled.BaseName(), "plan");
    EXPECT_EQ(untitled.AutosavePath().rfind(ProgramStateFolder() + "/unsaved-plan-", 0), 0u);
    EXPECT_EQ(LocationsFileName(untitled, "SU 1"), "plan - SU 1 - locations.csv");
}

TEST(PlanDocument, TheStateFolderFollowsTheEnvironment) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string kept = state ? state : "";
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_STATE_HOME", "/state", 1);
    EXPECT_EQ(StateAutosavePathOf("/site/a.vplan"), "/state/valdris-power/%2Fsite%2Fa.vplan.autosave");
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
            ASSERT_TRUE(plan.Add(NamedUnit()));
        }
        if (c.saved) {
            document.Saved("/site/b.vplan");
            plan.MarkSaved();
            EXPECT_EQ(document.Path(), "/site/b.vplan") << c.what;
        }
        EXPECT_EQ(document.HasUnsavedChanges(plan), c.unsaved) << c.what;
    }
}

// A scratch folder that is also the state folder, for the length of a test.
class Scratch {
public:
    Scratch() : dir_(fs::temp_directory_path() / ("plan_document_" + std::to_string(::getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "plans");
        const char* state = std::getenv("XDG_STATE_HOME");
        had_state_ = state != nullptr;
        if (state) kept_ = state;
        ::setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
    }
    ~Scratch() {
        fs::permissions(dir_ / "plans", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
        if (had_state_) {
            ::setenv("XDG_STATE_HOME", kept_.c_str(), 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
    }
    std::string Plans(const std::string& name) const { return (dir_ / "plans" / name).string(); }

private:
    fs::path dir_;
    bool had_state_ = false;
    std::string kept_;
};

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A writer that ended without a word: its autosave and an unheld lock.
void LeaveCrashed(const std::string& autosave) {
    Write(autosave, "{}");
    Write(LockPathOf(autosave), "1@gone\n");
}

// Only a regular file of ours under the autosave's name, whose writer has
// ended, is offered: a folder, a link or a pipe there is no work of ours
// (offering a link would show whatever it points at as the user's work), and
// a live writer's autosave is its work in progress.
TEST(PlanDocument, OnlyALeftoverRegularFileIsOfferedAsAnAutosave) {
    const Scratch scratch;
    const std::string plan = scratch.Plans("plan.vplan");
    Write(plan, "{}");
    const std::string autosave = scratch.Plans(".plan.vplan.autosave");
    WriterLock live;
    const struct {
        const char* what;
        std::function<void()> make;
        bool offered;
    } cases[] = {
        {"none", [] {}, false},
        {"a file", [&] { Write(autosave, "{}"); }, true},
        {"a crashed writer's", [&] { LeaveCrashed(autosave); }, true},
        {"a live writer's",
         [&] {
             Write(autosave, "{}");
             ASSERT_TRUE(live.Take(autosave));
         },
         false},
        {"a lock that is a folder",
         [&] {
             Write(autosave, "{}");
             fs::create_directory(LockPathOf(autosave));
         },
         false},
        {"a folder", [&] { fs::create_directory(autosave); }, false},
        {"a link to a file", [&] { fs::create_symlink(plan, autosave); }, false},
        {"a dangling link", [&] { fs::create_symlink(plan + ".none", autosave); }, false},
        {"a pipe", [&] { ::mkfifo(autosave.c_str(), 0600); }, false},
    };
    for (const auto& c : cases) {
        live.Release();
        fs::remove_all(autosave);
        fs::remove_all(LockPathOf(autosave));
        c.make();
        PlanDocument document;
        document.Take(plan, false);
        EXPECT_EQ(document.AutosaveOfferedOnOpening().has_value(), c.offered) << c.what;
        // Declined: removed, but never a live writer's or what is not ours.
        RemoveLeftoverAutosave(autosave);
        EXPECT_EQ(fs::exists(fs::symlink_status(autosave)), !c.offered && c.what != std::string("none")) << c.what;
    }
}

// Where the autosave goes: beside the plan, else the state folder under the
// plan's path; told once when neither takes it, and not again until kept.
TEST(PlanDocument, AnAutosaveFallsBackToTheStateFolderAndSaysOnceWhenNeitherTakesIt) {
    const Scratch scratch;
    const std::string plan = scratch.Plans("site.vplan");
    const std::string beside = scratch.Plans(".site.vplan.autosave");
    const std::string state = StateAutosavePathOf(plan);
    const struct {
        const char* what;
        std::function<void()> block;  // in the way beside the plan
        bool state_blocked;
        const char* kept_in;  // "beside", "state" or "" for nowhere
    } cases[] = {
        {"a plain folder", [] {}, false, "beside"},
        {"a folder named as the autosave", [&] { fs::create_directory(beside); }, false, "state"},
        {"a link named as the autosave", [&] { fs::create_symlink(plan, beside); }, false, "state"},
        {"another program's autosave", [] {}, false, "state"},
        {"a read-only folder", [&] { fs::permissions(scratch.Plans(""), fs::perms::owner_read | fs::perms::owner_exec); },
         false, "state"},
        {"neither place", [&] { fs::create_directory(beside); }, true, ""},
    };
    for (const auto& c : cases) {
        fs::permissions(scratch.Plans(""), fs::perms::owner_all, fs::perm_options::add);
        for (const std::string& place : {beside, state, LockPathOf(beside), LockPathOf(state)}) fs::remove_all(place);
        Write(plan, "{}");
        WriterLock other;
        if (c.what == std::string("another program's autosave")) {
            ASSERT_TRUE(other.Take(beside));
        }
        c.block();
        if (c.state_blocked) fs::create_directories(state);
        if (::geteuid() == 0 && c.what == std::string("a read-only folder")) continue;  // root writes anyway

        PlanDocument document;
        document.Take(plan, false);
        const Outcome<Done> first = document.WriteAutosave("{\"units\":[]}");
        const bool first_told = document.JustStoppedKeeping();
        document.WriteAutosave("{\"units\":[]}");
        const std::string kept_in = c.kept_in;
        EXPECT_EQ(static_cast<bool>(first), !kept_in.empty()) << c.what << ": " << (first ? "" : first.message());
        EXPECT_EQ(first_told, kept_in.empty()) << c.what;
        EXPECT_FALSE(document.JustStoppedKeeping()) << c.what << ": said once";
        if (!kept_in.empty()) {
            EXPECT_EQ(Read(kept_in == "beside" ? beside : state), "{\"units\":[]}") << c.what;
        }
        EXPECT_EQ(fs::is_regular_file(fs::symlink_status(plan)), true) << c.what << ": the plan untouched";
        if (!kept_in.empty()) {
            const std::string written = kept_in == "beside" ? beside : state;
            EXPECT_TRUE(WriterAlive(written)) << c.what << ": held while it is ours";
            document.RemoveAutosave();
            EXPECT_FALSE(fs::exists(written)) << c.what;
            EXPECT_FALSE(fs::exists(LockPathOf(written))) << c.what;
        }
    }
}

// A plan never saved has an autosave of its own, and the state folder's
// leftovers are all offered: each a regular file whose writer has ended,
// named back to its plan where it has one.
TEST(PlanDocument, EveryLeftoverInTheStateFolderIsOfferedAndNoLiveOne) {
    const Scratch scratch;
    const PlanDocument first;
    const PlanDocument second;
    ASSERT_NE(first.AutosavePath(), second.AutosavePath()) << "two untitled plans, two autosaves";
    EXPECT_EQ(first.AutosavePath().rfind(ProgramStateFolder() + "/", 0), 0u);
    EXPECT_EQ(PlanOfStateAutosave(first.AutosavePath()), "");

    fs::create_directories(ProgramStateFolder());
    const std::string named = StateAutosavePathOf("/a b/50%/site.vplan");
    EXPECT_EQ(PlanOfStateAutosave(named), "/a b/50%/site.vplan");
    LeaveCrashed(named);
    LeaveCrashed(first.AutosavePath());
    Write(second.AutosavePath(), "{}");
    WriterLock live;
    ASSERT_TRUE(live.Take(second.AutosavePath()));
    fs::create_directory(ProgramStateFolder() + "/folder.autosave");
    fs::create_symlink(named, ProgramStateFolder() + "/link.autosave");

    std::vector<std::string> offered = LeftoverAutosaves();
    std::sort(offered.begin(), offered.end());
    std::vector<std::string> expected = {named, first.AutosavePath()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(offered, expected);
    // Offered at the start only while the window holds no work of its own.
    PlanDocument starting;
    SurveyPlan empty;
    EXPECT_EQ(LeftoversToOffer(starting, empty).size(), 2u);
    ASSERT_TRUE(empty.Add(NamedUnit()));
    EXPECT_TRUE(LeftoversToOffer(starting, empty).empty());
}

// Two programs on one plan: a save sees that the file is no longer what
// was read or last saved here.
TEST(PlanDocument, AFileWrittenByAnotherProgramSinceItWasReadIsSeen) {
    const Scratch scratch;
    const std::string plan = scratch.Plans("site.vplan");
    const struct {
        const char* what;
        std::function<void()> meanwhile;
        bool changed;
    } cases[] = {
        {"untouched", [] {}, false},
        {"rewritten", [&] { Write(plan, "{\"units\":[1]}"); }, true},
        {"same size, other bytes, same time",
         [&] {
             const auto time = fs::last_write_time(plan);
             Write(plan, "{\"units\":[2]}");
             fs::last_write_time(plan, time);
         },
         true},
        {"same bytes, later", [&] { fs::last_write_time(plan, fs::last_write_time(plan) + std::chrono::seconds(5)); },
         true},
        {"removed", [&] { fs::remove(plan); }, false},
        {"made a folder",
         [&] {
             fs::remove(plan);
             fs::create_directory(plan);
         },
         true},
    };
    for (const auto& c : cases) {
        fs::remove_all(plan);
        Write(plan, "{\"units\":[0]}");
        PlanDocument document;
        document.Take(plan, false, StampOfBytes(plan, "{\"units\":[0]}"));
        c.meanwhile();
        EXPECT_EQ(document.ChangedOnDisk(), c.changed) << c.what;
        // Saved here: what is on disk is this program's again.
        fs::remove_all(plan);
        Write(plan, "{}");
        document.Saved(plan, StampOfBytes(plan, "{}"));
        EXPECT_FALSE(document.ChangedOnDisk()) << c.what;
    }
}

// One turn of a file command: the step asked for and the user's (or the
// deed's) reply to it.
struct Turn {
    FileStep::Kind kind;
    QuestionKind asked;  // Ask
    Answer answer;       // to an Ask
    std::string path;    // the name suggested, or the file a deed is on
    std::string name;    // to an AskName: the name given, empty: cancelled
    bool done;           // to a deed
};
Turn Ends(FileStep::Kind kind) { return {kind, QuestionKind::UnsavedChanges, Answer::Cancel, "", "", true}; }
Turn Asks(QuestionKind asked, Answer answer) { return {FileStep::Kind::Ask, asked, answer, "", "", true}; }
Turn Names(std::string suggested, std::string name) {
    return {FileStep::Kind::AskName, QuestionKind::UnsavedChanges, Answer::Cancel, suggested, name, true};
}
Turn Does(FileStep::Kind kind, std::string path, bool done = true) {
    return {kind, QuestionKind::UnsavedChanges, Answer::Cancel, path, "", done};
}

// The file commands' order: each answer leads to the next question or deed,
// a failed deed stops the command, and a cancel loses nothing.
TEST(FileErrand, EachAnswerLeadsToItsNextStep) {
    const Scratch scratch;
    const std::string plan = scratch.Plans("site.vplan");
    const std::string other = scratch.Plans("other.vplan");
    const std::string autosave = scratch.Plans(".site.vplan.autosave");
    using K = FileStep::Kind;
    using Q = QuestionKind;
    enum Command { SetAside, Save, SaveAs, Recover };
    const struct {
        const char* what;
        Command command;
        bool titled, unsaved, changed;  // changed: by another program since read
        std::vector<Turn> turns;
    } cases[] = {
        {"nothing to lose", SetAside, true, false, false, {Ends(K::Done)}},
        {"unsaved, cancelled", SetAside, true, true, false,
         {Asks(Q::UnsavedChanges, Answer::Cancel), Ends(K::Stopped)}},
        {"unsaved, dropped", SetAside, true, true, false, {Asks(Q::UnsavedChanges, Answer::Discard), Ends(K::Done)}},
        {"unsaved, saved", SetAside, true, true, false,
         {Asks(Q::UnsavedChanges, Answer::Save), Does(K::Write, plan), Ends(K::Done)}},
        {"unsaved, the save failed", SetAside, true, true, false,
         {Asks(Q::UnsavedChanges, Answer::Save), Does(K::Write, plan, false), Ends(K::Stopped)}},
        {"unsaved and untitled, saved", SetAside, false, true, false,
         {Asks(Q::UnsavedChanges, Answer::Save), Names("plan.vplan", other), Does(K::Write, other), Ends(K::Done)}},
        {"unsaved, the file changed, cancelled", SetAside, true, true, true,
         {Asks(Q::UnsavedChanges, Answer::Save), Asks(Q::ChangedOnDisk, Answer::Cancel), Ends(K::Stopped)}},
        {"saved in place", Save, true, false, false, {Does(K::Write, plan), Ends(K::Done)}},
        {"changed, overwritten", Save, true, true, true,
         {Asks(Q::ChangedOnDisk, Answer::Overwrite), Does(K::Write, plan), Ends(K::Done)}},
        {"changed, saved elsewhere", Save, true, true, true,
         {Asks(Q::ChangedOnDisk, Answer::SaveAs), Names(plan, other), Does(K::Write, other), Ends(K::Done)}},
        {"changed, saved as the same name", Save, true, true, true,
         {Asks(Q::ChangedOnDisk, Answer::SaveAs), Names(plan, plan), Asks(Q::ChangedOnDisk, Answer::Cancel),
          Ends(K::Stopped)}},
        {"as itself", SaveAs, true, false, false, {Names(plan, plan), Does(K::Write, plan), Ends(K::Done)}},
        {"changed, as another name", SaveAs, true, false, true,
         {Names(plan, other), Does(K::Write, other), Ends(K::Done)}},
        {"as, cancelled", SaveAs, false, false, false, {Names("plan.vplan", ""), Ends(K::Stopped)}},
        {"recovered", Recover, true, false, false,
         {Asks(Q::RecoverAutosave, Answer::Yes), Does(K::Recover, autosave), Ends(K::Done)}},
        {"recovery unreadable", Recover, true, false, false,
         {Asks(Q::RecoverAutosave, Answer::Yes), Does(K::Recover, autosave, false), Does(K::Remove, autosave),
          Ends(K::Stopped)}},
        {"recovery declined", Recover, true, false, false,
         {Asks(Q::RecoverAutosave, Answer::No), Does(K::Remove, autosave), Ends(K::Stopped)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write(plan, "{}");
        PlanDocument document;
        document.Take(c.titled ? plan : "", false, StampOfBytes(plan, "{}"));
        if (c.changed) Write(plan, "{\"units\":[]}");
        SurveyPlan survey;
        if (c.unsaved) {
            ASSERT_TRUE(survey.Add(NamedUnit()));
        }
        FileErrand errand = c.command == SetAside ? FileErrand::SetAside(document, survey)
                            : c.command == Save   ? FileErrand::Save(document)
                            : c.command == SaveAs ? FileErrand::SaveAs(document)
                                                  : FileErrand::Recover(document, autosave, plan);
        FileStep step = errand.Start();
        for (const Turn& turn : c.turns) {
            ASSERT_EQ(step.kind, turn.kind);
            EXPECT_EQ(step.path, turn.path);
            if (turn.kind == K::Ask) {
                // It names what it is about, and Enter and Escape are its buttons'.
                const Question& question = step.question;
                EXPECT_EQ(question.kind, turn.asked);
                const std::string& about = turn.asked == Q::RecoverAutosave ? autosave : document.DisplayName();
                EXPECT_NE(question.text.find(about), std::string::npos) << question.text;
                for (const Answer key : {question.default_answer, question.escape_answer, turn.answer}) {
                    EXPECT_TRUE(std::any_of(question.buttons.begin(), question.buttons.end(),
                                            [key](const QuestionButton& b) { return b.answer == key; }));
                }
                step = errand.Answered(turn.answer);
            } else if (turn.kind == K::AskName) {
                step = errand.Named(turn.name);
            } else if (turn.kind != K::Done && turn.kind != K::Stopped) {
                EXPECT_EQ(step.plan, turn.kind == K::Recover ? plan : "");
                step = errand.Did(turn.done);
            }
        }
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
