// SPDX-License-Identifier: Apache-2.0
#include "plan_document.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "safe_write.h"
#include "file_names.h"


namespace valdris {
namespace {

namespace fs = std::filesystem;

const std::string kAutosaveSuffix = ".autosave";
const std::string kUntitledStart = "unsaved-plan-";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A name no other plan of this or another run takes: the process, the time
// and a count within the process.
std::string UntitledAutosavePath() {
    static std::atomic<unsigned> count{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return ProgramStateFolder() + "/" + kUntitledStart + std::to_string(::getpid()) + "-" + std::to_string(ms) +
           "-" + std::to_string(++count) + ".vplan" + kAutosaveSuffix;
}

std::int64_t ChangedNs(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return 0;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
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

std::string StateAutosavePathOf(const std::string& plan_path) {
    std::string name;
    for (const char c : plan_path) {
        if (c == '%') {
            name += "%25";
        } else if (c == '/') {
            name += "%2F";
        } else {
            name += c;
        }
    }
    return ProgramStateFolder() + "/" + name + kAutosaveSuffix;
}

std::string PlanOfStateAutosave(const std::string& autosave_path) {
    std::string name = fs::path(autosave_path).filename().string();
    if (name.rfind("%2F", 0) != 0 || !EndsWith(name, kAutosaveSuffix)) return "";
    name.resize(name.size() - kAutosaveSuffix.size());
    std::string plan;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '%') {
            plan += name[i];
        } else if (name.compare(i, 3, "%25") == 0) {
            plan += '%';
            i += 2;
        } else if (name.compare(i, 3, "%2F") == 0) {
            plan += '/';
            i += 2;
        } else {
            return "";
        }
    }
    return plan;
}

bool IsAutosaveFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

bool IsLeftoverAutosave(const std::string& path) { return IsAutosaveFile(path) && !WriterAlive(path); }

std::vector<std::string> LeftoverAutosaves() {
    std::vector<std::pair<std::int64_t, std::string>> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(ProgramStateFolder(), error)) {
        const std::string path = entry.path().string();
        if (EndsWith(path, kAutosaveSuffix) && IsLeftoverAutosave(path)) found.emplace_back(ChangedNs(path), path);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> leftovers;
    for (auto& [changed, path] : found) leftovers.push_back(std::move(path));
    return leftovers;
}

void RemoveLeftoverAutosave(const std::string& path) {
    if (!IsAutosaveFile(path)) return;
    WriterLock lock;
    if (!lock.Take(path)) return;
    ::unlink(path.c_str());
}

PlanDocument::PlanDocument() : untitled_autosave_(UntitledAutosavePath()) {}

PlanDocument::~PlanDocument() = default;

std::string PlanDocument::DisplayName() const {
    return path_.empty() ? "Untitled" : fs::path(path_).filename().string();
}

std::string PlanDocument::Folder() const { return path_.empty() ? std::string() : fs::path(path_).parent_path().string(); }

std::string PlanDocument::BaseName() const {
    if (path_.empty()) return "plan";
    const std::string name = fs::path(path_).filename().string();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void PlanDocument::Take(const std::string& path, bool recovered, const FileStamp& read) {
    if (path.empty() && !path_.empty()) untitled_autosave_ = UntitledAutosavePath();
    path_ = path;
    recovered_ = recovered;
    stamp_ = read;
}

void PlanDocument::Saved(const std::string& path, const FileStamp& written) {
    path_ = path;
    recovered_ = false;
    stamp_ = written;
}

bool PlanDocument::ChangedOnDisk() const {
    if (path_.empty()) return false;
    const FileStamp now = StampOfFile(path_);
    return now.exists && now != stamp_;
}

std::vector<std::string> PlanDocument::AutosavePlaces() const {
    if (path_.empty()) return {untitled_autosave_};
    const fs::path plan(path_);
    return {plan.parent_path().string() + "/." + plan.filename().string() + kAutosaveSuffix,
            StateAutosavePathOf(path_)};
}

Outcome<Done> PlanDocument::WriteAutosave(const std::string& bytes) {
    std::string reason;
    bool kept = false;
    for (const std::string& place : AutosavePlaces()) {
        WriterLock lock;
        const bool ours = written_.Held() && written_.LockedPath() == place;
        if (!ours) {
            std::error_code error;
            fs::create_directories(fs::path(place).parent_path(), error);
            if (!lock.Take(place)) {
                reason = "the autosave is another program's, or its lock cannot be made there";
                continue;
            }
        }
        reason = WriteBytesSafely(place, bytes);
        if (!reason.empty()) continue;
        if (!ours) {
            RemoveAutosave();
            written_ = std::move(lock);
        }
        kept = true;
        break;
    }
    just_stopped_ = kept_ && !kept;
    kept_ = kept;
    if (kept) return Done{};
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten, reason);
}

void PlanDocument::AdoptAutosave(const std::string& path) {
    WriterLock lock;
    if (!IsAutosaveFile(path) || !lock.Take(path)) return;
    RemoveAutosave();
    written_ = std::move(lock);
}

void PlanDocument::RemoveAutosave() {
    if (!written_.Held()) return;
    ::unlink(written_.LockedPath().c_str());
    written_.Release();
    kept_ = true;
}

std::optional<std::string> PlanDocument::AutosaveOfferedOnOpening() const {
    for (const std::string& place : AutosavePlaces()) {
        if (IsLeftoverAutosave(place)) return place;
    }
    return std::nullopt;
}

std::string LocationsFileName(const PlanDocument& document, const std::string& unit_name) {
    const std::string name =
        FileNameStem(document.BaseName(), "plan") + " - " + FileNameStem(unit_name, "unit") + " - locations.csv";
    const std::string folder = document.Folder();
    return folder.empty() ? name : (std::filesystem::path(folder) / name).string();
}

}  // namespace valdris
