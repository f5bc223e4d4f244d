// SPDX-License-Identifier: Apache-2.0
#include "drawing_loader.h"

#include <string>

#include "private_module.h"

namespace valdris::cli {

namespace {

const DrawingFunctions* Load(std::string& error) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) {
        error = "the drawing module could not be found: the program's own location is unknown";
        return nullptr;
    }
    std::string reason;
    void* entry = LoadPrivateModule(
        {
            folder + "/" VALDRIS_DRAWING_MODULE_DIR "/" VALDRIS_DRAWING_MODULE_NAME,  // installed
            folder + "/" VALDRIS_DRAWING_MODULE_NAME,                                 // build tree
        },
        kDrawingEntryPoint, reason);
    const DrawingFunctions* functions = entry != nullptr ? reinterpret_cast<DrawingEntryPoint>(entry)() : nullptr;
    if (entry != nullptr && (functions == nullptr || functions->interface_version != kDrawingInterfaceVersion ||
                             functions->design_state_size != sizeof(DesignState))) {
        reason = "the module found belongs to another version of the program";
        functions = nullptr;
    }
    if (functions == nullptr) error = "the drawing module could not be loaded: " + reason;
    return functions;
}

}  // namespace

const DrawingFunctions* LoadDrawing(std::string& error) {
    static std::string load_error;
    static const DrawingFunctions* const functions = Load(load_error);
    if (functions == nullptr) error = load_error;
    return functions;
}

}  // namespace valdris::cli
