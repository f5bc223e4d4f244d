// SPDX-License-Identifier: Apache-2.0
#include "close_only_frame.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstring>

#ifdef VALDRIS_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace valdris {

#ifdef VALDRIS_HAVE_XCB
namespace {

// The Motif window manager hints: five 32-bit fields.
constexpr uint32_t kHintsFunctions = 1u << 0;
constexpr uint32_t kHintsDecorations = 1u << 1;
constexpr uint32_t kFunctionMove = 1u << 2;
constexpr uint32_t kFunctionClose = 1u << 5;
constexpr uint32_t kDecorationBorder = 1u << 1;
constexpr uint32_t kDecorationTitle = 1u << 3;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

}  // namespace
#endif

void AskForCloseButtonOnly(QWidget* window) {
#ifndef VALDRIS_HAVE_XCB
    (void)window;
#else
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->winId());  // creates the native window

    const uint32_t hints[5] = {kHintsFunctions | kHintsDecorations, kFunctionMove | kFunctionClose,
                               kDecorationBorder | kDecorationTitle, 0, 0};
    const xcb_atom_t motif = Atom(connection, "_MOTIF_WM_HINTS");
    if (motif != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, motif, motif, 32, 5, hints);
    }
    xcb_flush(connection);
#endif
}

}  // namespace valdris
