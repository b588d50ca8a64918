#pragma once

#include "about/frmAbout.h"
#include "mainwindow/appfonts.h"
#include "mainwindow/frmMain.h"
#include "support/fakeshell.h"
#include "support/guitest.h"
#include "support/testfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace doorsel::test {

// Each test gets a fresh program folder (no config.ini, no registry.reg), a fake shell that answers
// the dialogs, and a main window opened on demand, after the test has laid down its files.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTahoma(); }

    frmMain& open()
    {
        window = std::make_unique<frmMain>(shell, ShowAbout);
        return *window;
    }

    template <typename T> T* find(const char* name) const { return controlOf<T>(*window, name); }

    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QCheckBox* check(const char* name) const { return find<QCheckBox>(name); }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
    QLabel* label(const char* name) const { return find<QLabel>(name); }
    QSystemTrayIcon* trayIcon() const { return find<QSystemTrayIcon>("TrayIcon"); }
    QTabWidget* tabs() const { return find<QTabWidget>("tabUI"); }

    void click(QAbstractButton* target) const { QTest::mouseClick(target, Qt::LeftButton); }

    // Which page shows: 1 "Logon Screen", 2 "Options", 0 when not exactly one of them does.
    int visiblePage() const { return shownFrame(*window, "frameUI_0", "frameUI_1"); }

    // Clicks the "Options" tab as a user would.
    void showOptionsPage() const
    {
        QTabBar* bar = tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    }

    TestFolder folder;
    FakeShell shell;
    std::unique_ptr<frmMain> window;
};

} // namespace doorsel::test
