// What the main window tells an X11 window manager, read back from a virtual display of its own
// (the test runs under xvfb-run): move, minimise and close, at one size.
#include "gui/mainwindow_fixture.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace doorsel::test {
namespace {

// A property of the window as 32-bit values; empty when it is not set.
std::vector<std::uint32_t> property(const QWidget& window, const char* name)
{
    xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr),
        &std::free);
    if (!atom)
        return {};
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection,
            xcb_get_property(
                connection, 0, static_cast<xcb_window_t>(window.winId()), atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

TEST_F(MainWindowTest, windowManagerIsOfferedMoveMinimiseAndCloseAtOneSize)
{
    ASSERT_NE(qGuiApp->nativeInterface<QNativeInterface::QX11Application>(), nullptr) << "not on X11";
    open().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    // _MOTIF_WM_HINTS: flags, functions, decorations. Functions: resize 2, move 4, minimise 8,
    // maximise 16, close 32. Decorations: resize handles 4, maximise button 64.
    const std::vector<std::uint32_t> motif = property(*window, "_MOTIF_WM_HINTS");
    ASSERT_GE(motif.size(), 3u);
    EXPECT_TRUE(motif[0] & 1u) << "functions are given";
    EXPECT_EQ(motif[1], 4u | 8u | 32u) << "functions " << motif[1];
    EXPECT_EQ(motif[2] & (4u | 64u), 0u) << "decorations " << motif[2];

    // WM_NORMAL_HINTS: minimum size at 5 and 6, maximum size at 7 and 8.
    const std::vector<std::uint32_t> size = property(*window, "WM_NORMAL_HINTS");
    ASSERT_GE(size.size(), 9u);
    EXPECT_EQ(std::vector<std::uint32_t>(size.begin() + 5, size.begin() + 9),
        (std::vector<std::uint32_t> {478, 299, 478, 299}));
}

} // namespace
} // namespace doorsel::test

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
