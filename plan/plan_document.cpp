// SPDX-License-Identifier: Apache-2.0
#include "plan_document.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "file_names.h"


namespace valdris {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::vector<std::string> WithRecentPlan(std::vector<std::string> recent, const std::string& path) {
    recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
    recent.insert(recent.begin(), path);
    if (recent.size() > kRecentPlans) recent.resize(kRecentPlans);
    return recent;
}

std::string ProgramStateFolder() {
    std::string base = Environment("XDG_STATE_HOME");
    if (base.empty()) base = Environment("HOME") + "/.local/state";
    return base + "/valdris-power";
}

std::string UnsavedPlanAutosavePath() { return ProgramStateFolder() + "/unsaved-plan.vplan.autosave"; }

bool IsAutosaveFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error));
}

std::string PlanDocument::DisplayName() const {
    return path_.empty() ? "Untitled" : std::filesystem::path(path_).filename().string();
}

std::string PlanDocument::Folder() const {
    return path_.empty() ? std::string() : std::filesystem::path(path_).parent_path().string();
}

std::string PlanDocument::BaseName() const {
    if (path_.empty()) return "plan";
    const std::string name = std::filesystem::path(path_).filename().string();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void PlanDocument::Take(const std::string& path, bool recovered) {
    path_ = path;
    recovered_ = recovered;
}

void PlanDocument::Saved(const std::string& path) {
    path_ = path;
    recovered_ = false;
}

std::string PlanDocument::AutosavePath() const {
    if (path_.empty()) return UnsavedPlanAutosavePath();
    const std::filesystem::path plan(path_);
    return plan.parent_path().string() + "/." + plan.filename().string() + ".autosave";
}

std::string PlanDocument::TakeWrittenAutosave() {
    std::string written;
    written.swap(written_autosave_);
    return written;
}

bool PlanDocument::OffersUnsavedAutosave(const SurveyPlan& plan) const {
    return path_.empty() && !HasUnsavedChanges(plan) && IsAutosaveFile(AutosavePath());
}

std::string LocationsFileName(const PlanDocument& document, const std::string& unit_name) {
    const std::string name =
        FileNameStem(document.BaseName(), "plan") + " - " + FileNameStem(unit_name, "unit") + " - locations.csv";
    const std::string folder = document.Folder();
    return folder.empty() ? name : (std::filesystem::path(folder) / name).string();
}

}  // namespace valdris
