// What the user sees: every caption fits its control, every control lies inside the window, and
// (when DOORSEL_SCREENSHOT_DIR names a folder) pictures of both pages for a person to look at.
#include "gui/mainwindow_fixture.h"
#include "mainwindow/wrapbutton.h"
#include "platform/appinfo.h"

#include <QStyleOptionButton>

namespace doorsel::test {
namespace {

class Layout : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (!RegisterTahoma())
            GTEST_SKIP() << "the window is laid out for Tahoma, which is not installed";
    }

    void save(const char* name) const
    {
        const QByteArray dir = qgetenv("DOORSEL_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        const QString path = QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name);
        EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
    }

    // The controls of the shown page and the header whose caption is cut off, with the room the
    // caption needs and the room it has.
    std::vector<std::string> clippedCaptions() const
    {
        std::vector<std::string> clipped;
        const auto check = [&](const QWidget* w, QSize needed, QSize room) {
            if (needed.width() > room.width() || needed.height() > room.height())
                clipped.push_back(w->objectName().toStdString() + " needs " + std::to_string(needed.width()) + "x"
                    + std::to_string(needed.height()) + ", has " + std::to_string(room.width()) + "x"
                    + std::to_string(room.height()));
        };
        for (const QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window.get()))
                continue;
            const QFontMetrics metrics(w->font());
            if (const auto* button = qobject_cast<const QPushButton*>(w)) {
                QStyleOptionButton option;
                option.initFrom(button);
                const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
                const int flags
                    = qobject_cast<const WrapButton*>(w) ? Qt::AlignCenter | Qt::TextWordWrap : Qt::AlignCenter;
                check(w, metrics.boundingRect(area, flags, button->text()).size(), area.size());
            } else if (const auto* box = qobject_cast<const QCheckBox*>(w)) {
                QStyleOptionButton option;
                option.initFrom(box);
                const QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
                check(w, QSize(metrics.horizontalAdvance(box->text()), metrics.height()),
                    QSize(area.width(), box->height()));
            } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
                if (!label->text().isEmpty())
                    check(w, QSize(metrics.horizontalAdvance(label->text()), metrics.height()), label->size());
            }
        }
        return clipped;
    }

    // Controls that stick out of their page or out of the window.
    QStringList misplaced() const
    {
        QStringList out;
        const QRect client = window->rect();
        for (const char* frameName : {"frameUI_0", "frameUI_1"}) {
            const QFrame* frame = find<QFrame>(frameName);
            if (!client.contains(frame->geometry()))
                out << frame->objectName();
            for (const QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!frame->rect().contains(w->geometry()))
                    out << w->objectName();
            }
        }
        return out;
    }
};

TEST_F(Layout, logonScreenPageCaptionsFit)
{
    open().show();
    EXPECT_EQ(clippedCaptions(), std::vector<std::string>());
    EXPECT_EQ(misplaced(), QStringList());
    save("main-logon-screen.png");

    // The longer caption of the browse button, too.
    window.reset();
    spit(ConfigPath, "[Options]\r\nEnableRandom=1\r\n");
    open().show();
    EXPECT_EQ(clippedCaptions(), std::vector<std::string>());
    save("main-logon-screen-random.png");
}

TEST_F(Layout, optionsPageCaptionsFit)
{
    for (const char* random : {"0", "1"}) {
        spit(ConfigPath, std::string("[Options]\r\nEnableRandom=") + random + "\r\nRotateEvery=12\r\n");
        open().show();
        showOptionsPage();
        EXPECT_EQ(clippedCaptions(), std::vector<std::string>()) << "random " << random;
        save(*random == '1' ? "main-options-random-on.png" : "main-options-random-off.png");
        window.reset();
    }
}

} // namespace
} // namespace doorsel::test
