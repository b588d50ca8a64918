#include "frmAbout.h"

#include "about/internetupdate.h"
#include "about/linkstext.h"
#include "about/updateserver.h"
#include "about/version.h"
#include "platform/appinfo.h"
#include "platform/filestore.h"
#include "ui_frmAbout.h"
#include "widgets/formfit.h"
#include "widgets/keyboardaccess.h"
#include "widgets/localtext.h"
#include "widgets/shell.h"

namespace doorsel {
namespace {

std::string storedFile(const char* name)
{
    return ProgramFile(name);
}

} // namespace

frmAbout::frmAbout(Shell& shell, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::frmAbout>())
    , shell(shell)
{
    ui->setupUi(this);
    UseFormTextSize(*this);
    FitControlsToText(*this);
    // A form file holds whole points only; the status line is laid out in 9.75-point text.
    QFont status = ui->labelVersionAvailable->font();
    status.setPointSizeF(9.75);
    ui->labelVersionAvailable->setFont(status);
    setFixedSize(size());
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);

    UseKeyboardAccess(*this);
    SwitchPagesWithKeys(*ui->tabsAbout);

    frameAbout = {ui->frameAbout_0, ui->frameAbout_1};
    Form_Load();

    connect(ui->tabsAbout, &QTabWidget::currentChanged, this, &frmAbout::tabsAbout_Click);
    connect(ui->btnCheckForUpdate, &QPushButton::clicked, this, &frmAbout::btnCheckForUpdate_Click);
    connect(ui->btnUpdateLinks, &QPushButton::clicked, this, &frmAbout::btnUpdateLinks_Click);
    connect(ui->Label11, &ClickLabel::clicked, this, &frmAbout::Label11_Click);
    connect(ui->labelClickToDownload, &ClickLabel::clicked, this, &frmAbout::labelClickToDownload_Click);
    connect(ui->btnClose, &QPushButton::clicked, this, &frmAbout::btnClose_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::done(int result)
{
    inet.Cancel();
    QDialog::done(result);
}

void frmAbout::Form_Load()
{
    for (size_t i = 1; i < frameAbout.size(); ++i) {
        frameAbout[i]->setGeometry(frameAbout[0]->geometry());
        frameAbout[i]->hide();
    }
    currentFrame = 1;
    ui->tabsAbout->setCurrentIndex(currentFrame - 1);
    frameAbout[currentFrame - 1]->show();

    ui->labelVersion->setText(QStringLiteral("Version: ") + QLatin1String(ProductVersion));
    ui->labelDateReleased->setText(QStringLiteral("Date Released: ") + QLatin1String(ReleaseDate));
    ui->Label11->setText(fromLocal(about::WebPageUrl(about::ServerBaseUrl())));
    ui->labelVersionAvailable->hide();
    ui->labelClickToDownload->hide();
    ui->txtLinks->clear();
}

void frmAbout::tabsAbout_Click()
{
    frameAbout[currentFrame - 1]->hide();
    currentFrame = ui->tabsAbout->currentIndex() + 1;
    frameAbout[currentFrame - 1]->show();
}

void frmAbout::btnCheckForUpdate_Click()
{
    ui->labelVersionAvailable->show();
    ui->labelVersionAvailable->setText(QLatin1String(about::CheckingCaption));
    if (!DownloadFile(inet, about::VersionFileUrl(about::ServerBaseUrl()), ProgramFolder(), shell, this))
        return;

    // A version file with no version in it is a failed check, not "no update".
    const std::optional<std::string> text = ReadStoreFile(storedFile("CurrentVersion.dat"));
    const std::optional<about::CheckOutcome> outcome
        = text ? about::OutcomeOfCheck(*text, ProductVersion) : std::nullopt;
    if (!outcome) {
        shell.ShowMessage(this, TransferErrorMessage);
        return;
    }
    ui->labelVersionAvailable->setText(fromLocal(outcome->caption));
    ui->labelClickToDownload->setVisible(outcome->showDownloadLink);
}

void frmAbout::btnUpdateLinks_Click()
{
    ui->labelVersionAvailable->show();
    ui->labelVersionAvailable->setText(QLatin1String(about::CheckingCaption));
    if (!DownloadFile(inet, about::LinksFileUrl(about::ServerBaseUrl()), ProgramFolder(), shell, this))
        return;

    const std::optional<std::string> file = ReadStoreFile(storedFile("links.dat"));
    if (!file)
        return;
    // The box breaks lines at "\n"; the lines themselves hold no CR or LF.
    QString text = fromLocal(about::LinksText(*file));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ui->txtLinks->setPlainText(text);
}

void frmAbout::Label11_Click()
{
    shell.Open(about::WebPageUrl(about::ServerBaseUrl()));
}

void frmAbout::labelClickToDownload_Click()
{
    // The new version is on the same web page.
    Label11_Click();
}

void frmAbout::btnClose_Click()
{
    close();
}

void ShowAbout(Shell& shell, QWidget* owner)
{
    frmAbout dialog(shell, owner);
    dialog.exec();
}

} // namespace doorsel
