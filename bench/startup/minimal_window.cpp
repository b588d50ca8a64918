// The yardstick for doorsel's first window: a plain Qt Widgets program showing a window of the main
// window's size with a tab widget and five buttons, centred on the screen.
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(478, 299);
    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(8, 60, 462, 200);
    auto* first = new QWidget;
    tabs->addTab(first, QStringLiteral("Logon Screen"));
    tabs->addTab(new QWidget, QStringLiteral("Options"));
    for (int i = 0; i < 4; ++i)
        (new QPushButton(QStringLiteral("Button %1").arg(i + 1), first))->setGeometry(8, 8 + 34 * i, 160, 28);
    (new QPushButton(QStringLiteral("Exit"), &window))->setGeometry(390, 266, 80, 28);
    window.move(QGuiApplication::primaryScreen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
