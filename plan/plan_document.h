// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan as a document, apart from any window: the file it was read from
// or saved to and what that file was then, whether it holds work not yet
// saved, where its autosave goes and which autosaves are offered, and the
// list of plans opened lately. Paths are in the system's encoding; the
// window makes them absolute and asks the questions.
//
// An autosave is written beside the plan's file (".site.vplan.autosave"),
// else in the program's state folder under a name made from the plan's path;
// a plan never saved has its own name there. The writer holds a lock on it
// (writer_lock.h) for as long as it is its, so another run neither offers
// nor removes the work of a program still running.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "file_stamp.h"
#include "outcome.h"
#include "plan.h"
#include "writer_lock.h"

namespace valdris {

// How many plans the Recent Plans menu lists.
constexpr std::size_t kRecentPlans = 8;

// The recent list after the plan at path was opened or saved: first, once,
// and no more than kRecentPlans in all.
std::vector<std::string> WithRecentPlan(std::vector<std::string> recent, const std::string& path);

// The user's state folder for the program ($XDG_STATE_HOME, else
// ~/.local/state, then valdris-power), where autosaves go that cannot lie
// beside their plan.
std::string ProgramStateFolder();

// The state folder's autosave for the plan at this absolute path: the path
// with "%" and "/" written as "%25" and "%2F", so that it names the plan
// back (PlanOfStateAutosave).
std::string StateAutosavePathOf(const std::string& plan_path);
// The plan that a state-folder autosave was named after, or empty for a
// plan never saved (or a name not made by StateAutosavePathOf).
std::string PlanOfStateAutosave(const std::string& autosave_path);

// Only a regular file of this user (not a link, a folder or a device under
// the autosave's name) is ever offered as leftover work or removed.
bool IsAutosaveFile(const std::string& path);
// An autosave file whose writer has ended: work a crash left behind.
bool IsLeftoverAutosave(const std::string& path);
// Every leftover autosave in the state folder, the newest first.
std::vector<std::string> LeftoverAutosaves();
// Removes a leftover autosave and its lock; one whose writer is alive, or
// that is not an autosave file, is left as it is.
void RemoveLeftoverAutosave(const std::string& path);

class PlanDocument {
public:
    PlanDocument();
    PlanDocument(const PlanDocument&) = delete;
    PlanDocument& operator=(const PlanDocument&) = delete;
    ~PlanDocument();

    // The plan's file; empty for a plan never saved.
    const std::string& Path() const { return path_; }
    // The file's name, or "Untitled".
    std::string DisplayName() const;
    // The file's folder, where the dialogs start; empty for none.
    std::string Folder() const;
    // The file's name without its last suffix ("site" for site.vplan), or "plan".
    std::string BaseName() const;

    // A plan taken as the document's: read from path (absolute; empty for a
    // new plan) when the file was as stamped, or recovered from an autosave,
    // which is unsaved work whatever the plan's history says.
    void Take(const std::string& path, bool recovered, const FileStamp& read = {});
    // The plan was saved to path (absolute), which is now as stamped.
    void Saved(const std::string& path, const FileStamp& written = {});
    bool HasUnsavedChanges(const SurveyPlan& plan) const { return recovered_ || plan.IsModified(); }
    // True when the plan's file is no longer what was read or saved: another
    // program wrote it. A file gone since is no loss to save over.
    bool ChangedOnDisk() const;

    // Where the autosave is written, the first place that takes it first.
    std::vector<std::string> AutosavePlaces() const;
    std::string AutosavePath() const { return AutosavePlaces().front(); }
    // The plan's bytes as its autosave, in the first place that takes them;
    // an autosave of this document elsewhere is then removed.
    // Written in the first place that takes it, or refused saying why the
    // last place refused.
    Outcome<Done> WriteAutosave(const std::string& bytes);
    // The last write failed after work had been kept: the user is told once,
    // not at every failure after.
    bool JustStoppedKeeping() const { return just_stopped_; }
    // A leftover autosave whose work was taken as this document's: it is
    // this document's to remove once its own autosave is written.
    void AdoptAutosave(const std::string& path);
    // Removes this document's autosave, once the work is saved or set aside.
    void RemoveAutosave();

    // The leftover autosave offered when the plan was just opened from its
    // file, if any.
    std::optional<std::string> AutosaveOfferedOnOpening() const;

private:
    std::string path_;
    std::string untitled_autosave_;  // the state folder's name for a plan never saved
    FileStamp stamp_;
    bool recovered_ = false;
    bool kept_ = true;  // the last autosave was written, or none was due
    bool just_stopped_ = false;
    WriterLock written_;  // the autosave on disk, held
};

// The name suggested for a unit's locations: "<plan> - <unit> - locations.csv"
// in the plan's folder (a plan never saved: "plan - <unit> - ...", no
// folder), each part made fit for a file name.
std::string LocationsFileName(const PlanDocument& document, const std::string& unit_name);

}  // namespace valdris
