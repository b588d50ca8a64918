#include "platform/appinfo.h"
#include "preview/fit.h"
#include "preview/previewpane.h"
#include "support/testfolder.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

namespace doorsel {
namespace {

const std::string sep(1, PathSeparator);

// The picture's bytes in the given format ("JPG" or "BMP"): one colour, so any pixel of it can be
// checked after scaling.
std::string encodedPicture(QSize size, QColor colour, const char* format, int quality = 95)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes.toStdString();
}

// A folder holding a placeholder executable; returns the executable's path.
std::string logonScreen(const test::TestFolder& root, const std::string& name)
{
    test::makeFolders(root.file(name));
    std::string exe = root.file(name) + sep + "logon.exe";
    test::spit(exe, "placeholder");
    return exe;
}

std::string folderOf(const std::string& exe)
{
    return exe.substr(0, exe.rfind(PathSeparator) + 1);
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24
        && std::abs(a.blue() - b.blue()) < 24;
}

QColor pixelAt(PreviewPane& pane, int x, int y)
{
    return pane.grab().toImage().pixelColor(x, y);
}

bool allWhite(PreviewPane& pane)
{
    pane.labelNoPreview()->hide(); // look at the area only
    const QImage image = pane.grab().toImage();
    pane.labelNoPreview()->show();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white)
                return false;
    return true;
}

TEST(PreviewPane, isAWhiteAreaOfTwoHundredEightyByTwoHundredTenWithTheLabel)
{
    PreviewPane pane;
    EXPECT_EQ(pane.size(), QSize(280, 210));
    EXPECT_EQ(pane.objectName(), "picThumb");
    EXPECT_EQ(pane.labelNoPreview()->objectName(), "labelNoPreview");
    EXPECT_EQ(pane.labelNoPreview()->text(), "No Preview Available");
    EXPECT_TRUE(pane.labelNoPreview()->font().bold());
    EXPECT_EQ(pane.labelNoPreview()->font().pointSizeF(), 18);
    EXPECT_TRUE(allWhite(pane));
}

TEST(PreviewPane, captionFitsInsideTheAreaWithoutClipping)
{
    PreviewPane pane;
    const QLabel* label = pane.labelNoPreview();
    const QFontMetrics metrics(label->font());
    const QRect needed = metrics.boundingRect(label->rect(), Qt::AlignCenter | Qt::TextWordWrap, label->text());
    EXPECT_TRUE(label->rect().contains(needed)) << needed.width() << "x" << needed.height();
    EXPECT_TRUE(pane.rect().contains(label->geometry()));
    for (const QString& word : label->text().split(' '))
        EXPECT_LE(metrics.horizontalAdvance(word), label->width()) << word.toStdString();
}

TEST(PreviewPane, systemLogonScreenHasNoPreviewEvenWithAFolderOfItsName)
{
    test::TestFolder root;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(root.path());
    std::filesystem::create_directory("logonui.exe");
    test::spit("logonui.exe" + sep + "shot.bmp", encodedPicture({20, 20}, Qt::red, "BMP"));

    PreviewPane pane;
    pane.labelNoPreview()->hide();
    pane.showPreviewOf("logonui.exe");
    EXPECT_FALSE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), "");

    // Another spelling is an ordinary relative folder, searched like any other.
    std::filesystem::rename("logonui.exe", "LogonUI.exe");
    pane.showPreviewOf("LogonUI.exe");
    EXPECT_TRUE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), "LogonUI.exe" + sep + "shot.bmp");
    std::filesystem::current_path(previous);
}

TEST(PreviewPane, folderWithoutPictureClearsTheAreaAndShowsTheLabel)
{
    test::TestFolder root;
    const std::string with = logonScreen(root, "with");
    test::spit(folderOf(with) + "shot.bmp", encodedPicture({100, 50}, Qt::blue, "BMP"));
    const std::string without = logonScreen(root, "without");

    PreviewPane pane;
    pane.showPreviewOf(with);
    ASSERT_TRUE(pane.labelNoPreview()->isHidden());
    pane.showPreviewOf(without);
    EXPECT_FALSE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), "");
    EXPECT_TRUE(allWhite(pane));

    pane.showPreviewOf(root.file("missing") + sep + "logon.exe");
    EXPECT_FALSE(pane.labelNoPreview()->isHidden());
}

struct DrawCase {
    const char* what;
    QSize size;
    const char* format;
    const char* file;
};

std::ostream& operator<<(std::ostream& out, const DrawCase& c)
{
    return out << c.what;
}

class PreviewPaneDraws : public ::testing::TestWithParam<DrawCase> { };

TEST_P(PreviewPaneDraws, thePictureWhereTheFitSays)
{
    const DrawCase& c = GetParam();
    test::TestFolder root;
    const std::string exe = logonScreen(root, "screen");
    const QColor colour(200, 30, 40);
    test::spit(folderOf(exe) + c.file, encodedPicture(c.size, colour, c.format));

    PreviewPane pane;
    pane.showPreviewOf(exe);
    EXPECT_TRUE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), folderOf(exe) + c.file);

    const PixelRect r = FitPictureInPixels(c.size.width(), c.size.height());
    EXPECT_EQ(pane.lastDecodedSize(), QSize(r.width, r.height));
    const QImage shot = pane.grab().toImage();
    // Inside, at the corners and the centre.
    for (const QPoint p : {QPoint(r.x, r.y), QPoint(r.x + r.width - 1, r.y + r.height - 1),
             QPoint(r.x + r.width / 2, r.y + r.height / 2)})
        EXPECT_TRUE(near(shot.pixelColor(p), colour)) << p.x() << "," << p.y();
    // Outside, just beyond each edge that leaves room.
    for (const QPoint p :
        {QPoint(r.x - 1, r.y), QPoint(r.x + r.width, r.y), QPoint(r.x, r.y - 1), QPoint(r.x, r.y + r.height)}) {
        if (shot.rect().contains(p)) {
            EXPECT_EQ(shot.pixelColor(p), QColor(Qt::white)) << p.x() << "," << p.y();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, PreviewPaneDraws,
    ::testing::Values(DrawCase {"smallCentredAtOwnSize", {100, 50}, "BMP", "shot.bmp"},
        DrawCase {"oddWidthKeepsItsPixels", {101, 31}, "BMP", "shot.bmp"},
        DrawCase {"landscapeShrunk", {1200, 400}, "JPG", "shot.jpg"},
        DrawCase {"portraitShrunk", {300, 900}, "JPG", "shot.JPEG"},
        DrawCase {"exactAreaFilled", {280, 210}, "BMP", "shot.bmp"},
        DrawCase {"tallStripEnlarged", {20, 210}, "BMP", "shot.bmp"}),
    [](const ::testing::TestParamInfo<DrawCase>& info) { return std::string(info.param.what); });

TEST(PreviewPane, largePhotoIsDecodedAtTheSizeItIsDrawn)
{
    test::TestFolder root;
    const std::string exe = logonScreen(root, "big");
    test::spit(folderOf(exe) + "big.jpg", encodedPicture({6000, 4000}, QColor(10, 120, 200), "JPG", 90));

    PreviewPane pane;
    pane.showPreviewOf(exe);
    EXPECT_TRUE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.lastDecodedSize(), QSize(280, 187));
    EXPECT_TRUE(near(pixelAt(pane, 140, 105), QColor(10, 120, 200)));
}

TEST(PreviewPane, nameThatIsNotValidUtf8IsFoundAndDrawn)
{
    test::TestFolder root;
    const std::string exe = logonScreen(root, test::OddName("d\xe9j\xe0"));
    test::spit(folderOf(exe) + test::OddName("\xe9t\xe9") + ".bmp", encodedPicture({50, 50}, Qt::green, "BMP"));

    PreviewPane pane;
    pane.showPreviewOf(exe);
    EXPECT_TRUE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), folderOf(exe) + test::OddName("\xe9t\xe9") + ".bmp");
    EXPECT_TRUE(near(pixelAt(pane, 140, 105), Qt::green));
}

struct BadCase {
    const char* what;
    const char* file;
    std::string content;
};

std::string cut(const std::string& bytes, double share)
{
    return bytes.substr(0, static_cast<std::size_t>(static_cast<double>(bytes.size()) * share));
}

// A BMP header claiming far more pixels than the file holds.
std::string lyingBmp()
{
    std::string bytes = encodedPicture({40, 30}, Qt::red, "BMP");
    const int width = 3000;
    const int height = 3000;
    bytes.replace(18, 4, reinterpret_cast<const char*>(&width), 4);
    bytes.replace(22, 4, reinterpret_cast<const char*>(&height), 4);
    return bytes;
}

std::ostream& operator<<(std::ostream& out, const BadCase& c)
{
    return out << c.what;
}

class PreviewPaneFailedLoad : public ::testing::TestWithParam<BadCase> { };

TEST_P(PreviewPaneFailedLoad, leavesTheAreaAndLabelAsTheyWere)
{
    const BadCase& c = GetParam();
    test::TestFolder root;
    const std::string good = logonScreen(root, "good");
    test::spit(folderOf(good) + "good.bmp", encodedPicture({280, 210}, Qt::blue, "BMP"));
    const std::string bad = logonScreen(root, "bad");
    test::spit(folderOf(bad) + c.file, c.content);
    // A later pattern is not tried after a failed load.
    test::spit(folderOf(bad) + "fallback.bmp", encodedPicture({280, 210}, Qt::red, "BMP"));

    PreviewPane pane;
    pane.showPreviewOf(bad);
    EXPECT_FALSE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), "");
    EXPECT_TRUE(allWhite(pane));

    pane.showPreviewOf(good);
    ASSERT_TRUE(pane.labelNoPreview()->isHidden());
    pane.showPreviewOf(bad);
    EXPECT_TRUE(pane.labelNoPreview()->isHidden());
    EXPECT_EQ(pane.PreviewPath(), "");
    EXPECT_TRUE(near(pixelAt(pane, 140, 105), Qt::blue));
}

INSTANTIATE_TEST_SUITE_P(Files, PreviewPaneFailedLoad,
    ::testing::Values(BadCase {"truncatedJpeg", "a.jpg", cut(encodedPicture({600, 400}, Qt::red, "JPG"), 0.6)},
        BadCase {"jpegHeaderOnly", "a.jpg", encodedPicture({600, 400}, Qt::red, "JPG").substr(0, 200)},
        BadCase {"truncatedBmpAlone", "a.bmp", cut(encodedPicture({600, 400}, Qt::red, "BMP"), 0.5)},
        BadCase {"bmpLyingAboutItsSize", "a.jpeg", lyingBmp()},
        BadCase {"notAPicture", "a.jpg", "just some text, not a picture"}, BadCase {"emptyFile", "a.jpg", ""}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.what); });

TEST(PreviewPane, leftDoubleClickIsReportedAlsoOverTheLabel)
{
    PreviewPane pane;
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    QSignalSpy spy(&pane, &PreviewPane::doubleClicked);
    // Through the window, so the click lands on whatever widget lies at that point: the caption.
    QTest::mouseDClick(pane.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(140, 105));
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseDClick(pane.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(spy.count(), 2);
    QTest::mouseDClick(pane.windowHandle(), Qt::RightButton, Qt::NoModifier, QPoint(140, 105));
    EXPECT_EQ(spy.count(), 2);
}

} // namespace
} // namespace doorsel
