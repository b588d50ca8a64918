// GUI tests run offscreen, with one application object for the whole run.
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#ifndef DOORSEL_TEST_PLATFORM
#define DOORSEL_TEST_PLATFORM "offscreen"
#endif

namespace {

// Every test leaves the application as it found it: no window open, and windows closing as usual,
// so that no test passes or fails for what an earlier one left behind.
class CleanApplication : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& /*test*/) override
    {
        quitOnLastWindowClosed = QApplication::quitOnLastWindowClosed();
    }

    // Runs once the fixture is gone, and before the result is printed.
    void OnTestEnd(const ::testing::TestInfo& /*test*/) override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            ADD_FAILURE() << "window left open: " << window->metaObject()->className() << " \""
                          << window->objectName().toStdString() << '"';
            window->hide();
            window->deleteLater();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::setQuitOnLastWindowClosed(quitOnLastWindowClosed);
    }

    bool quitOnLastWindowClosed = true;
};

} // namespace

int main(int argc, char* argv[])
{
    // DOORSEL_TEST_PLATFORM runs them on another platform, for example the windows platform on a
    // display, to look at what Windows draws.
    const QByteArray platform = qgetenv("DOORSEL_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray(DOORSEL_TEST_PLATFORM) : platform);
    // Wine passes no QT_ variable on to a Windows program: the scale comes under a name of ours.
    if (const QByteArray scale = qgetenv("DOORSEL_TEST_SCALE"); !scale.isEmpty())
        qputenv("QT_SCALE_FACTOR", scale);
#ifdef _WIN32
    // Offscreen, Qt for Windows reads fonts from this folder only.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new CleanApplication);
    return RUN_ALL_TESTS();
}
