// SPDX-License-Identifier: Apache-2.0
#include "drawing_loader.h"

#include "module_file.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace valdris::cli {

namespace {

// The folder of the running program, as the kernel knows it: independent of
// the working directory and of how the program was called.
std::string ProgramFolder() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    const std::string program(path.data(), static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}

const DrawingFunctions* Load(std::string& error) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) {
        error = "the drawing module could not be found: the program's own location is unknown";
        return nullptr;
    }
    const std::string candidates[] = {
        folder + "/" VALDRIS_DRAWING_MODULE_DIR "/" VALDRIS_DRAWING_MODULE_NAME,  // installed
        folder + "/" VALDRIS_DRAWING_MODULE_NAME,                                 // build tree
    };
    std::string reason;
    for (const std::string& candidate : candidates) {
        // Without waiting: a FIFO in the module's place must not hang us.
        const int fd = open(candidate.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) continue;
        if (fd < 0) {
            reason = candidate + ": " + std::strerror(errno);
            break;
        }
        std::string problem = ModuleFileProblem(fd);
        if (problem.empty()) problem = ModuleFolderProblem(candidate.substr(0, candidate.rfind('/')));
        if (!problem.empty()) {
            close(fd);
            reason = candidate + ": " + problem;
            break;
        }
        // The file checked is the file loaded, even if the name is replaced
        // meanwhile.
        const std::string checked = "/proc/self/fd/" + std::to_string(fd);
        void* module = dlopen(checked.c_str(), RTLD_NOW | RTLD_LOCAL);
        close(fd);
        if (module == nullptr) {
            reason = dlerror();
            break;
        }
        const auto entry = reinterpret_cast<DrawingEntryPoint>(dlsym(module, kDrawingEntryPoint));
        const DrawingFunctions* functions = entry != nullptr ? entry() : nullptr;
        if (functions == nullptr || functions->interface_version != kDrawingInterfaceVersion ||
            functions->design_state_size != sizeof(DesignState)) {
            reason = candidate + " belongs to another version of the program";
            break;
        }
        return functions;
    }
    if (reason.empty()) reason = "neither " + candidates[0] + " nor " + candidates[1] + " exists";
    error = "the drawing module could not be loaded: " + reason;
    return nullptr;
}

}  // namespace

const DrawingFunctions* LoadDrawing(std::string& error) {
    static std::string load_error;
    static const DrawingFunctions* const functions = Load(load_error);
    if (functions == nullptr) error = load_error;
    return functions;
}

}  // namespace valdris::cli
