// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan as a document, apart from any window: the file it was read from
// or saved to, whether it holds work not yet saved, where its autosave goes
// and whether an autosave found there is offered, and the list of plans
// opened lately. Paths are in the system's encoding; the window makes them
// absolute and asks the questions.

#include <cstddef>
#include <string>
#include <vector>

#include "plan.h"

namespace valdris {

// How many plans the Recent Plans menu lists.
constexpr std::size_t kRecentPlans = 8;

// The recent list after the plan at path was opened or saved: first, once,
// and no more than kRecentPlans in all.
std::vector<std::string> WithRecentPlan(std::vector<std::string> recent, const std::string& path);

// The user's state folder for the program ($XDG_STATE_HOME, else
// ~/.local/state, then valdris-power), where a plan with no file yet is
// autosaved.
std::string ProgramStateFolder();

// Where a plan with no file yet is autosaved.
std::string UnsavedPlanAutosavePath();

// Only a regular file of ours (not a link, a folder or a device under the
// autosave's name) is offered as a crash's leftover work or removed after.
bool IsAutosaveFile(const std::string& path);

class PlanDocument {
public:
    // The plan's file; empty for a plan never saved.
    const std::string& Path() const { return path_; }
    // The file's name, or "Untitled".
    std::string DisplayName() const;
    // The file's folder, where the dialogs start; empty for none.
    std::string Folder() const;
    // The file's name without its last suffix ("site" for site.vplan), or "plan".
    std::string BaseName() const;

    // A plan taken as the document's: read from path (absolute; empty for a
    // new plan), or recovered from an autosave, which is unsaved work
    // whatever the plan's history says.
    void Take(const std::string& path, bool recovered);
    // The plan was saved to path (absolute).
    void Saved(const std::string& path);
    bool HasUnsavedChanges(const SurveyPlan& plan) const { return recovered_ || plan.IsModified(); }

    // Beside the file (".site.vplan.autosave"), or the state folder's.
    std::string AutosavePath() const;
    // The autosave of this document that is on disk, to be removed once the
    // work is saved or set aside.
    void AutosaveWritten(const std::string& path) { written_autosave_ = path; }
    // The autosave written, if any, forgotten: the caller removes it.
    std::string TakeWrittenAutosave();

    // An autosave on disk, left by an earlier run, is offered when the plan
    // was just opened from its file, or when the window starts on a new
    // plan with nothing in it yet.
    bool OffersAutosaveOnOpening() const { return IsAutosaveFile(AutosavePath()); }
    bool OffersUnsavedAutosave(const SurveyPlan& plan) const;

private:
    std::string path_;
    std::string written_autosave_;
    bool recovered_ = false;
};

// The name suggested for a unit's locations: "<plan> - <unit> - locations.csv"
// in the plan's folder (a plan never saved: "plan - <unit> - ...", no
// folder), each part made fit for a file name.
std::string LocationsFileName(const PlanDocument& document, const std::string& unit_name);

}  // namespace valdris
