#pragma once

#include "about/frmAbout.h"
#include "platform/appinfo.h"
#include "platform/settings.h"
#include "support/fakeshell.h"
#include "support/guitest.h"
#include "support/httpserver.h"
#include "support/testfolder.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace doorsel::test {

inline const std::string TransferMessage
    = "An error has occured in the file transfer or write.  Please try again later.";

// An About window in a fresh program folder whose settings point at a server of the test's own.
class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest()
    {
        settings::Write(settings::UpdateServer, server.base());
        open();
    }

    // A new window, as each opening of the About window makes one.
    void open()
    {
        window.reset();
        window = std::make_unique<frmAbout>(shell);
        window->Inet1().setTimeout(std::chrono::milliseconds(300));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T = QWidget> T* child(const char* name) const { return controlOf<T>(*window, name); }

    QLabel* status() const { return child<QLabel>("labelVersionAvailable"); }
    QLabel* downloadLink() const { return child<QLabel>("labelClickToDownload"); }
    void click(const char* name) const { QTest::mouseClick(child(name), Qt::LeftButton); }

    std::string stored(const char* name) const { return slurp(folder.file(name)); }

    TestFolder folder;
    HttpServer server;
    FakeShell shell;
    std::unique_ptr<frmAbout> window;
};

} // namespace doorsel::test
