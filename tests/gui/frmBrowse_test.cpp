#include "browse/browseowner.h"
#include "browse/frmBrowse.h"
#include "gui/captionfit.h"
#include "gui/loadedbrowse.h"
#include "mainwindow/appfonts.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "support/fakeshell.h"
#include "support/testfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace doorsel {
namespace {

// Stands for the main window: records what the browse window asks of it.
class FakeOwner : public BrowseOwner {
public:
    void SetPicture() override { ++pictureRefreshes; }
    void SetCloseBrowseBox(int value) override { closeBrowseBox = value; }
    QWidget* ownerWidget() override { return nullptr; }
    int pictureRefreshes = 0;
    int closeBrowseBox = -1;
};

class BrowseWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        logons = folder.file("Logons");
        for (const char* relative : {"a.exe", "Bliss/logonui.exe", "Bliss/Old/logonui.exe", "My Screens/setup.exe"})
            touch(relative);
        settings::Write(settings::LogonScreensFolder, logons);
    }

    void touch(const std::string& relative)
    {
        const std::string path = under(relative);
        test::makeFolders(path.substr(0, path.find_last_of(PathSeparator)));
        test::spit(path, "MZ");
    }
    std::string under(const std::string& relative) const
    {
        const std::u8string path = (test::pathOf(logons) / test::pathOf(relative).make_preferred()).u8string();
        return std::string(path.begin(), path.end());
    }

    std::unique_ptr<frmBrowse> open()
    {
        auto window = std::make_unique<frmBrowse>(shell, owner);
        EXPECT_TRUE(test::Loaded(*window));
        window->show();
        return window;
    }
    template <typename T> static T* child(QWidget& window, const char* name)
    {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void clickRow(frmBrowse& window, int row)
    {
        auto* list = child<QTreeView>(window, "listFiles");
        const QRect rect = list->visualRect(test::Row(*list, row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    static void click(frmBrowse& window, const char* button)
    {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }

    test::TestFolder folder;
    test::FakeShell shell;
    FakeOwner owner;
    std::string logons;
};

TEST_F(BrowseWindow, listsTheWalkWithTheFullPathHiddenAndTheFolderAsStored)
{
    auto window = open();
    EXPECT_EQ(window->rowPaths(),
        (std::vector<std::string> {under("a.exe"), under("Bliss/logonui.exe"), under("Bliss/Old/logonui.exe"),
            under("My Screens/setup.exe")}));
    auto* list = child<QTreeView>(*window, "listFiles");
    EXPECT_EQ(test::Row(*list, 2, 0).data().toString(), "logonui.exe");
    EXPECT_EQ(test::Row(*list, 2, 1).data().toString(), "Old");
    EXPECT_EQ(list->columnWidth(2), 0);
    EXPECT_EQ(child<QLabel>(*window, "labelBrowse")->text(),
        QString::fromStdString("Currently browsing \"" + logons + "\" and it's sub-directories."));
}

TEST_F(BrowseWindow, setActsOnlyAfterARowClickAndWritesTheHiddenFullPath)
{
    WriteRegValue(UIHostPath, "logonui.exe");
    auto window = open();
    click(*window, "btnSetBrowse");
    EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe") << "nothing is armed before a row click";

    clickRow(*window, 3);
    click(*window, "btnSetBrowse");
    EXPECT_EQ(ReadRegValue(UIHostPath), under("My Screens/setup.exe"));
    EXPECT_EQ(owner.pictureRefreshes, 1);
    EXPECT_EQ(shell.messages,
        (std::vector<std::string> {"LogonUI.exe set successfully!\r\n\r\nLog Off or use WIN+L to test it."}));

    WriteRegValue(UIHostPath, "logonui.exe");
    click(*window, "btnSetBrowse");
    EXPECT_EQ(ReadRegValue(UIHostPath), "logonui.exe") << "a second press without a new click does nothing";

    clickRow(*window, 1);
    click(*window, "btnSetBrowse");
    EXPECT_EQ(ReadRegValue(UIHostPath), under("Bliss/logonui.exe"));
}

TEST_F(BrowseWindow, closeBoxCheckedClosesFirstThenTellsAndTheOptionsBoxFollows)
{
    settings::Write(settings::AlertYN, "1");
    auto window = open();
    child<QCheckBox>(*window, "checkClose")->setChecked(true);
    clickRow(*window, 0);
    click(*window, "btnSetBrowse");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(shell.messages.empty()) << "AlertYN 1 silences the message";
    EXPECT_EQ(settings::Read(settings::CloseBrowse), "1");
    EXPECT_EQ(owner.closeBrowseBox, 1);
}

TEST_F(BrowseWindow, closeBoxClearedKeepsTheWindowAndTheOptionsBoxFollows)
{
    settings::Write(settings::CloseBrowse, "1");
    auto window = open();
    EXPECT_TRUE(child<QCheckBox>(*window, "checkClose")->isChecked()) << "loaded from the settings";
    child<QCheckBox>(*window, "checkClose")->setChecked(false);
    clickRow(*window, 0);
    click(*window, "btnSetBrowse");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings::Read(settings::CloseBrowse), "0");
    EXPECT_EQ(owner.closeBrowseBox, 0);
    EXPECT_EQ(shell.messages.size(), 1u);
}

TEST_F(BrowseWindow, layoutFollowsTheRandomSettingAndMarksExistInEveryLayout)
{
    test::spit(
        folder.file("random.dat"), under("Bliss/logonui.exe") + "\r\n" + under("My Screens/setup.exe") + "x\r\n");
    const std::vector<bool> marks {false, true, false, true};
    const struct {
        const char* value;
        bool boxes;
        int buttonsTop;
        int height;
    } cases[] = {{"", false, 3555 / 15, (4395 - 375) / 15}, {"0", false, 3700 / 15, (4675 - 375) / 15},
        {"1", true, 4095 / 15, (5070 - 375) / 15}, {"7", true, 4095 / 15, (5070 - 375) / 15}};
    std::set<int> rowHeights;
    for (const auto& c : cases) {
        settings::Write(settings::EnableRandom, c.value);
        auto window = open();
        auto* list = child<QTreeView>(*window, "listFiles");
        // Room for the text and the check box, with a margin so that neighbouring rows never touch.
        const int content = std::max(
            list->fontMetrics().height(), list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list));
        const int rowHeight = list->visualRect(test::Row(*list, 0)).height();
        EXPECT_GE(rowHeight, content + 4) << c.value;
        rowHeights.insert(rowHeight);
        EXPECT_EQ(test::Row(*list, 0).data(Qt::CheckStateRole).isValid(), c.boxes) << c.value;
        EXPECT_EQ(child<QPushButton>(*window, "btnSave")->isVisible(), c.boxes) << c.value;
        EXPECT_EQ(child<QLabel>(*window, "labelRandomInstructions")->isVisible(), c.boxes) << c.value;
        EXPECT_EQ(child<QPushButton>(*window, "btnSetBrowse")->y(), c.buttonsTop) << c.value;
        EXPECT_EQ(child<QPushButton>(*window, "btnClose")->y(), c.buttonsTop) << c.value;
        EXPECT_EQ(window->height(), c.height) << c.value;
        EXPECT_EQ(window->rowMarks(), marks) << c.value;
        if (RegisterTahoma()) {
            EXPECT_EQ(test::ClippedCaptions(*window), std::vector<std::string>()) << c.value;
        }
    }
    EXPECT_EQ(rowHeights.size(), 1u) << "one row height in every layout";
}

// The tab order itself is walked with the other windows' in keyboard_test.cpp.
TEST_F(BrowseWindow, focusStartsOnSetAsLogonScreenNotOnTheList)
{
    settings::Write(settings::EnableRandom, "1");
    auto window = open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "btnSetBrowse");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(window->rowMarks(), std::vector<bool>(4, false)) << "Space ticked a row";
}

TEST_F(BrowseWindow, savedListComesBackCheckedAndDropsWhatIsNoLongerARow)
{
    settings::Write(settings::EnableRandom, "1");
    test::spit(folder.file("random.dat"), "/elsewhere/old.exe\r\n");
    {
        auto window = open();
        auto* list = child<QTreeView>(*window, "listFiles");
        list->model()->setData(test::Row(*list, 0), Qt::Checked, Qt::CheckStateRole);
        list->model()->setData(test::Row(*list, 2), Qt::Checked, Qt::CheckStateRole);
        click(*window, "btnSave");
        EXPECT_TRUE(window->isVisible()) << "saving keeps the window open";
    }
    EXPECT_EQ(
        test::slurp(folder.file("random.dat")), under("a.exe") + "\r\n" + under("Bliss/Old/logonui.exe") + "\r\n");
    auto window = open();
    EXPECT_EQ(window->rowMarks(), (std::vector<bool> {true, false, true, false}));
}

// Where the user ticks a row: the middle of its check box.
QPoint boxOf(QTreeView& list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = list.visualRect(test::Row(list, row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list).center();
}

TEST_F(BrowseWindow, theUserTicksRowsByMouseAndBySpaceAndSaveListKeepsThem)
{
    settings::Write(settings::EnableRandom, "1");
    auto window = open();
    auto* list = child<QTreeView>(*window, "listFiles");
    const struct {
        const char* how;
        int row;
        std::function<void()> tick;
    } cases[] = {
        {"a click on the box", 1, [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, boxOf(*list, 1)); }},
        {"Space on the row", 3,
            [&] {
                list->setFocus();
                list->setCurrentIndex(test::Row(*list, 3));
                QTest::keyClick(list, Qt::Key_Space);
            }},
    };
    std::vector<bool> marks(4, false);
    for (const auto& c : cases) {
        c.tick();
        marks[static_cast<size_t>(c.row)] = true;
        EXPECT_EQ(window->rowMarks(), marks) << c.how;
    }
    click(*window, "btnSave");
    EXPECT_EQ(test::slurp(folder.file("random.dat")),
        under("Bliss/logonui.exe") + "\r\n" + under("My Screens/setup.exe") + "\r\n");
}

// Notes whether the browse window was still on screen when the success message came.
class OrderShell : public test::FakeShell {
public:
    void ShowMessage(QWidget* owner, const std::string& text) override
    {
        browseVisibleAtMessage = watched && watched->isVisible();
        FakeShell::ShowMessage(owner, text);
    }
    QWidget* watched = nullptr;
    bool browseVisibleAtMessage = true;
};

TEST_F(BrowseWindow, theWindowClosesBeforeTheSuccessMessageShows)
{
    OrderShell orderShell;
    frmBrowse window(orderShell, owner);
    ASSERT_TRUE(test::Loaded(window));
    window.show();
    orderShell.watched = &window;
    child<QCheckBox>(window, "checkClose")->setChecked(true);
    clickRow(window, 1);
    click(window, "btnSetBrowse");
    ASSERT_EQ(orderShell.messages.size(), 1u);
    EXPECT_FALSE(orderShell.browseVisibleAtMessage);
}

TEST_F(BrowseWindow, clickedRowIsPreviewedAndADoubleClickOpensItsPicture)
{
    const QImage picture = [] {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        return image;
    }();
    // A name that is not valid text reaches the opener byte for byte.
    const std::string jpg = under("Bliss/bliss " + test::OddName("\xff\xfe") + ".jpg");
    ASSERT_TRUE(picture.save(QString::fromStdString(under("Bliss/bliss.jpg")), "JPG"));
    fs::rename(test::pathOf(under("Bliss/bliss.jpg")), test::pathOf(jpg));
    auto window = open();
    clickRow(*window, 1);
    auto* thumb = child<QWidget>(*window, "picThumb");
    EXPECT_TRUE(child<QLabel>(*thumb, "labelNoPreview")->isHidden());
    QTest::mouseDClick(thumb, Qt::LeftButton);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(test::localPathOf(shell.opened[0]), jpg) << shell.opened[0];

    clickRow(*window, 0);
    EXPECT_FALSE(child<QLabel>(*thumb, "labelNoPreview")->isHidden()) << "a.exe's folder has no picture of its own";
}

TEST_F(BrowseWindow, namesThatAreNotTextAreListedSetAndSavedByteForByte)
{
    const std::string odd = test::OddName("caf\xe9 \xff");
    touch(odd + "/" + odd + ".exe");
    if (!test::exists(under(odd + "/" + odd + ".exe")))
        GTEST_SKIP() << "the file system here does not take such names";
    settings::Write(settings::EnableRandom, "1");
    auto window = open();
    const std::vector<std::string> paths = window->rowPaths();
    const auto found = std::find(paths.begin(), paths.end(), under(odd + "/" + odd + ".exe"));
    ASSERT_NE(found, paths.end());
    const int row = static_cast<int>(found - paths.begin());

    clickRow(*window, row);
    click(*window, "btnSetBrowse");
    EXPECT_EQ(ReadRegValue(UIHostPath), *found);

    auto* list = child<QTreeView>(*window, "listFiles");
    list->model()->setData(test::Row(*list, row), Qt::Checked, Qt::CheckStateRole);
    click(*window, "btnSave");
    EXPECT_EQ(test::slurp(folder.file("random.dat")), *found + "\r\n");
    auto reopened = open();
    EXPECT_TRUE(reopened->rowMarks()[static_cast<size_t>(row)]);
}

TEST_F(BrowseWindow, doubleClickWithoutAPreviewOpensNothing)
{
    auto window = open();
    clickRow(*window, 0);
    QTest::mouseDClick(child<QWidget>(*window, "picThumb"), Qt::LeftButton);
    EXPECT_TRUE(shell.opened.empty());
}

} // namespace
} // namespace doorsel
