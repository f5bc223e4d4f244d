// SPDX-License-Identifier: Apache-2.0
#include "private_module.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "module_file.h"

namespace valdris {

std::string ProgramFolder() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    const std::string program(path.data(), static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}

void* LoadPrivateModule(const std::vector<std::string>& candidates, const char* entry_point, std::string& reason) {
    for (const std::string& candidate : candidates) {
        // Without waiting: a FIFO in the module's place must not hang us.
        const int fd = open(candidate.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) continue;
        if (fd < 0) {
            reason = candidate + ": " + std::strerror(errno);
            return nullptr;
        }
        std::string problem = ModuleFileProblem(fd);
        if (problem.empty()) problem = ModuleFolderProblem(candidate.substr(0, candidate.rfind('/')));
        if (!problem.empty()) {
            close(fd);
            reason = candidate + ": " + problem;
            return nullptr;
        }
        // The file checked is the file loaded, even if the name is replaced
        // meanwhile.
        const std::string checked = "/proc/self/fd/" + std::to_string(fd);
        void* module = dlopen(checked.c_str(), RTLD_NOW | RTLD_LOCAL);
        close(fd);
        if (module == nullptr) {
            reason = candidate + ": " + dlerror();
            return nullptr;
        }
        void* entry = dlsym(module, entry_point);
        if (entry == nullptr) reason = candidate + " belongs to another version of the program";
        return entry;
    }
    reason.clear();
    for (const std::string& candidate : candidates) reason += (reason.empty() ? "" : " nor ") + candidate;
    reason = (candidates.size() > 1 ? "neither " + reason + " exists" : reason + " does not exist");
    return nullptr;
}

}  // namespace valdris
