// SPDX-License-Identifier: Apache-2.0
#include "geometry_loader.h"

#include <vector>

#include "private_module.h"

namespace valdris {

namespace {

std::string& ChosenPath() {
    static std::string path;
    return path;
}

const GeometryFunctions* Load(std::string& error) {
    std::vector<std::string> candidates;
    if (!ChosenPath().empty()) {
        candidates.push_back(ChosenPath());
    } else {
        const std::string folder = ProgramFolder();
        if (folder.empty()) {
            error = "the program's own location is unknown";
            return nullptr;
        }
        candidates.push_back(folder + "/" VALDRIS_MODULE_DIR "/" VALDRIS_GEOMETRY_MODULE_NAME);
    }
    void* entry = LoadPrivateModule(candidates, kGeometryEntryPoint, error);
    const GeometryFunctions* functions = entry != nullptr ? reinterpret_cast<GeometryEntryPoint>(entry)() : nullptr;
    if (entry != nullptr && (functions == nullptr || functions->interface_version != kGeometryInterfaceVersion ||
                             functions->boundary_size != sizeof(Boundary))) {
        error = "the module found belongs to another version of the program";
        return nullptr;
    }
    return functions;
}

}  // namespace

void UseGeometryModuleAt(const std::string& path) { ChosenPath() = path; }

Outcome<const GeometryFunctions*> LoadGeometry() {
    static std::string load_error;
    static const GeometryFunctions* const functions = Load(load_error);
    if (functions == nullptr) {
        return Outcome<const GeometryFunctions*>::Failure(
            RefusalKind::GeometryUnavailable,
            "Boundaries cannot be read or laid out: the geometry module could not be loaded: " + load_error + ".");
    }
    return functions;
}

}  // namespace valdris
