// The X11 back-end: the window's Motif hints, which window managers read for the functions and the
// frame parts they offer.
#include "framehints.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace doorsel {
namespace {

// The fields and bits of the _MOTIF_WM_HINTS property.
constexpr std::uint32_t HintsFunctions = 1U << 0;
constexpr std::uint32_t HintsDecorations = 1U << 1;
constexpr std::uint32_t FunctionMove = 1U << 2;
constexpr std::uint32_t FunctionMinimize = 1U << 3;
constexpr std::uint32_t FunctionClose = 1U << 5;
constexpr std::uint32_t DecorBorder = 1U << 1;
constexpr std::uint32_t DecorTitle = 1U << 3;
constexpr std::uint32_t DecorMenu = 1U << 4;
constexpr std::uint32_t DecorMinimize = 1U << 5;

} // namespace

void OfferMoveMinimiseAndCloseOnly(QWidget& window)
{
    // Elsewhere (Wayland, offscreen) the toolkit's fixed size is all there is to say.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;
    static constexpr char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom
        = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (atom == nullptr)
        return;
    const std::array<std::uint32_t, 5> hints {HintsFunctions | HintsDecorations,
        FunctionMove | FunctionMinimize | FunctionClose, DecorBorder | DecorTitle | DecorMenu | DecorMinimize, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom->atom,
        atom->atom, 32, static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb_flush(connection);
    std::free(atom); // NOLINT(cppcoreguidelines-no-malloc): xcb hands out its replies with malloc
}

} // namespace doorsel
