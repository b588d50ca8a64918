#include "frmMain.h"

#include "browse/frmBrowse.h"

#include "framehints.h"
#include "options.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/logonswitch.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "programicon.h"
#include "ui_frmMain.h"
#include "widgets/formfit.h"
#include "widgets/keyboardaccess.h"
#include "widgets/shell.h"

#include <QApplication>
#include <QCloseEvent>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSystemTrayIcon>

namespace doorsel {

frmMain::frmMain(Shell& shell, AboutOpener openAbout, QWidget* parent)
    : QWidget(parent)
    , shell(shell)
    , openAbout(openAbout)
    , ui(std::make_unique<Ui::frmMain>())
{
    ui->setupUi(this);
    UseFormTextSize(*this);
    FitControlsToText(*this);
    setWindowIcon(ProgramIcon());
    ui->Image1->setPixmap(windowIcon().pixmap(ui->Image1->size()));
    UseKeyboardAccess(*this);
    SwitchPagesWithKeys(*ui->tabUI);
    frameUI = {ui->frameUI_0, ui->frameUI_1};
    buildTray();

    connect(ui->tabUI, &QTabWidget::currentChanged, this, &frmMain::tabUI_Click);
    connect(ui->btnSelectFile, &QPushButton::clicked, this, &frmMain::btnSelectFile_Click);
    connect(ui->btnResetKey, &QPushButton::clicked, this, &frmMain::btnResetKey_Click);
    connect(ui->btnBrowse, &QPushButton::clicked, this, &frmMain::btnBrowse_Click);
    connect(ui->btnAbout, &QPushButton::clicked, this, &frmMain::btnAbout_Click);
    connect(ui->btnExit, &QPushButton::clicked, this, &frmMain::btnExit_Click);
    ui->picThumb->OpenPicturesWith(shell);
    connect(ui->btnSaveOptions, &QPushButton::clicked, this, &frmMain::btnSaveOptions_Click);
    connect(ui->btnCancelOptions, &QPushButton::clicked, this, &frmMain::btnCancelOptions_Click);
    connect(ui->btnGetFolder, &QPushButton::clicked, this, &frmMain::btnGetFolder_Click);
    connect(ui->checkRandom, &QCheckBox::toggled, this, &frmMain::checkRandom_Click);

    Form_Load();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

frmMain::~frmMain() = default;

void frmMain::Form_Load()
{
    ui->Label5->setText(QString::fromLatin1(ProductVersion));

    // Move, minimise and close only: no maximise button and no frame to drag to another size.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    OfferMoveMinimiseAndCloseOnly(*this);

    SetPicture();

    settings::WriteIfEmpty(settings::LogonScreensFolder, options::DefaultLogonScreensFolder());

    // The pages share the first page's place and exactly one of them shows: the first.
    for (size_t i = 1; i < frameUI.size(); ++i) {
        frameUI[i]->setGeometry(frameUI[0]->geometry());
        frameUI[i]->hide();
    }
    CurrentFrame = 1;
    ui->tabUI->setCurrentIndex(0);
    frameUI[0]->show();

    loadOptionsPage();

    ui->txtRotateEvery->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), ui->txtRotateEvery));
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        restoredFromTray.invalidate();
    if (event->type() != QEvent::WindowStateChange)
        return;
    // A window manager may maximise the window or fill the screen with it all the same; the window
    // has one size, so that is undone (the resize back follows in resizeEvent).
    constexpr Qt::WindowStates enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (windowState() & enlarged) {
        setWindowState(windowState() & ~enlarged);
        // The window manager has moved the frame to fill the screen from its corner, where the
        // title bar may lie off the screen: the window goes back to where it stood.
        QMetaObject::invokeMethod(
            this, [this, at = placed] { move(at); }, Qt::QueuedConnection);
        return;
    }
    if (minimisedByMistake(*event))
        return;
    Form_Resize();
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // A move that comes with filling the screen is no place of the window's own.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) && size() == minimumSize())
        placed = pos();
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A window manager that ignores the fixed size is answered with it once its resize is over.
    if (size() != minimumSize())
        QMetaObject::invokeMethod(
            this, [this] { resize(minimumSize()); }, Qt::QueuedConnection);
}

void frmMain::showAtStart(bool minimized)
{
    if (minimized)
        setWindowState(windowState() | Qt::WindowMinimized);
    // Minimised with "MinimizeToTray" on, the window has already gone to the tray.
    if (!TrayIcon->isVisible())
        show();
}

void frmMain::SetPicture()
{
    ui->picThumb->showPreviewOf(ReadRegValue(UIHostPathShort));
}

void frmMain::tabUI_Click()
{
    frameUI[static_cast<size_t>(CurrentFrame - 1)]->hide();
    CurrentFrame = static_cast<short>(ui->tabUI->currentIndex() + 1);
    frameUI[static_cast<size_t>(CurrentFrame - 1)]->show();
}

void frmMain::btnSelectFile_Click()
{
    const std::string chosen
        = TrimChosenName(shell.OpenFileDialog(this, settings::Read(settings::LogonScreensFolder), LogonUIFileFilter));
    // The chooser starts without a file name each time, so Cancel gives "" and changes nothing.
    if (chosen.empty())
        return;
    const bool stored = SetLogonHost(chosen);
    SetPicture();
    if (!stored)
        shell.ShowMessage(this, SetFailedMessage());
    else if (SuccessMessageWanted())
        shell.ShowMessage(this, SetSuccessMessage);
}

void frmMain::btnResetKey_Click()
{
    const bool stored = SetLogonHost(DefaultLogonHost);
    SetPicture();
    shell.ShowMessage(this, stored ? std::string(ResetMessage) : SetFailedMessage());
}

void frmMain::btnBrowse_Click()
{
    // A browse window already open from the tray menu cannot also be shown modally: bring it forward.
    // One still walking its folder shows when the walk is over.
    if (browse) {
        if (browse->isVisible()) {
            browse->raise();
            browse->activateWindow();
        }
        return;
    }
    openBrowse(true);
}

void frmMain::openBrowse(bool modal)
{
    // The window walks its folder first; it shows once the walk is over, and not at all when the walk
    // is cancelled.
    auto* window = new frmBrowse(shell, *this, this);
    browse = window;
    connect(window, &frmBrowse::walkCancelled, window, &QObject::deleteLater);
    // Once closed it is gone for the buttons, whenever it is deleted.
    connect(window, &QDialog::finished, this, [this] { browse = nullptr; });
    // Queued: a modal window's own event loop is not to run inside the walk's last report.
    connect(
        window, &frmBrowse::loaded, this,
        [window = QPointer<frmBrowse>(window), modal] {
            if (!window)
                return;
            if (modal) {
                window->exec();
                window->deleteLater();
                return;
            }
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->show();
            window->raise();
            window->activateWindow();
        },
        Qt::QueuedConnection);
}

void frmMain::SetCloseBrowseBox(int value)
{
    ui->checkClose->setChecked(value == 1);
}

void frmMain::btnAbout_Click()
{
    openAbout(shell, this);
}

void frmMain::btnExit_Click()
{
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (settings::IsOn(settings::Read(settings::MinimizeToTray))) {
        // Living in the tray, the program ends with its main window, taking every other window along.
        TrayIcon->hide();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible())
                window->close();
        }
        quitSoon();
        return;
    }
    // Otherwise only this window goes, and the program ends with the last of its other windows. The
    // toolkit's own count of open windows leaves out those this window owns, such as the browse
    // window opened from the tray menu, so every window that hides from now on is watched here.
    qApp->installEventFilter(this);
    QMetaObject::invokeMethod(this, &frmMain::quitWhenNoWindowIsOpen, Qt::QueuedConnection);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
        QMetaObject::invokeMethod(this, &frmMain::quitWhenNoWindowIsOpen, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void frmMain::quitWhenNoWindowIsOpen()
{
    // Open again, this window's own next close decides when the program ends.
    if (isVisible()) {
        qApp->removeEventFilter(this);
        return;
    }
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window != this && window->isVisible() && (type == Qt::Window || type == Qt::Dialog))
            return;
    }
    qApp->removeEventFilter(this);
    quitSoon();
}

void frmMain::quitSoon()
{
    // Queued, so the program ends once the closing window has finished closing.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace doorsel
