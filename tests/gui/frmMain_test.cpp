#include "mainwindow/frmMain.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(frmMain, carriesTheProductNameAsCaption)
{
    test::TestFolder folder;
    frmMain window;
    EXPECT_EQ(window.windowTitle(), "Doorsel");
}

} // namespace
} // namespace doorsel
