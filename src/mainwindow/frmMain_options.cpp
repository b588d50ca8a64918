// The "Options" page of the main window: loading it at start-up, Save, Cancel and the folder button.
#include "frmMain.h"

#include "app/logonhost.h"
#include "options.h"
#include "pathtext.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "settings.h"
#include "ui_frmMain.h"

namespace doorsel {

namespace {

QString fromLatin(const char* text)
{
    return QString::fromLatin1(text);
}

// A stored flag ticks its box only when it is on; an absent one leaves the box as it is.
void checkFrom(QCheckBox* box, const char* key)
{
    const std::string value = settings::Read(key);
    if (!value.empty())
        box->setChecked(settings::IsOn(value));
}

void writeFlag(const char* key, const QCheckBox* box)
{
    settings::Write(key, box->isChecked() ? "1" : "0");
}

} // namespace

void frmMain::loadOptionsPage()
{
    using namespace settings;
    setPathText(ui->txtLogonScreenFolder, Read(LogonScreensFolder));
    checkFrom(ui->checkClose, CloseBrowse);
    checkFrom(ui->checkAlert, AlertYN);
    if (Read(MinimizeToTray).empty())
        Write(MinimizeToTray, "0");
    else
        checkFrom(ui->checkMinimize, MinimizeToTray);
    const std::string random = Read(EnableRandom);
    if (!random.empty()) {
        ui->checkRandom->setChecked(IsOn(random));
        ui->btnBrowse->setText(fromLatin(options::BrowseCaption(IsOn(random))));
    }
    ui->txtRotateEvery->setText(QString::fromStdString(options::RotateEveryShown(Read(RotateEvery))));
    checkFrom(ui->checkRunAtStartup, RunAtStartup);
}

void frmMain::checkRandom_Click()
{
    const bool enabled = options::RotateControlsEnabled(ui->checkRandom->isChecked());
    ui->labelRandom1->setEnabled(enabled);
    ui->labelRandom2->setEnabled(enabled);
    ui->txtRotateEvery->setEnabled(enabled);
}

void frmMain::btnSaveOptions_Click()
{
    using namespace settings;
    const std::string folder = pathText(ui->txtLogonScreenFolder);
    if (!folder.empty())
        Write(LogonScreensFolder, folder);
    writeFlag(CloseBrowse, ui->checkClose);
    writeFlag(AlertYN, ui->checkAlert);
    writeFlag(MinimizeToTray, ui->checkMinimize);
    writeFlag(EnableRandom, ui->checkRandom);

    // What the file now says decides, not the box.
    if (IsOn(Read(EnableRandom))) {
        WriteRegValue(RunValueRandomPath(), options::RandomRunCommand());
        ui->btnBrowse->setText(fromLatin(options::BrowseCaptionRandom));
        const options::RotationCounts counts = options::CountsToSave(ui->txtRotateEvery->text().toStdString());
        Write(RotateEvery, counts.rotateEvery);
        Write(NextRotation, counts.nextRotation);
    } else {
        DeleteRegValue(RunValueRandomPath());
        ui->btnBrowse->setText(fromLatin(options::BrowseCaptionPlain));
    }

    writeFlag(RunAtStartup, ui->checkRunAtStartup);
    if (ui->checkRunAtStartup->isChecked())
        WriteRegValue(RunValueStartupPath(), options::StartupRunCommand());
    else
        DeleteRegValue(RunValueStartupPath());

    ui->tabUI->setCurrentIndex(0);
}

void frmMain::btnCancelOptions_Click()
{
    // Edits stay in the boxes, unsaved; the file is not touched.
    ui->tabUI->setCurrentIndex(0);
}

void frmMain::btnGetFolder_Click()
{
    const std::string folder = shell.BrowseForFolder(this, options::FolderChooserTitle);
    if (!folder.empty())
        setPathText(ui->txtLogonScreenFolder, folder);
}

} // namespace doorsel
