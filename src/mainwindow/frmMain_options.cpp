// The "Options" page of the main window: loading it at start-up, Save, Cancel and the folder button.
#include "frmMain.h"

#include "options.h"
#include "pathtext.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/storefailure.h"
#include "ui_frmMain.h"
#include "widgets/shell.h"

#include <optional>

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

// Save's writes: every one is tried, and the first store that did not take its value is kept, so
// that one message can say why the settings were not saved.
class SaveWrites {
public:
    void setting(const char* key, const std::string& value) { note(settings::Write(key, value), ConfigPath); }
    void flag(const char* key, const QCheckBox* box) { setting(key, box->isChecked() ? "1" : "0"); }
    void runValue(const std::string& path, const std::string& value)
    {
        note(WriteRegValueChecked(path, value), RegistryStorePath());
    }
    void noRunValue(const std::string& path)
    {
        DeleteRegValue(path);
        note(ReadRegValue(path).empty(), RegistryStorePath());
    }
    // The store that failed first ("" stands for the system registry), or nothing.
    const std::optional<std::string>& failedStore() const { return failed; }

private:
    void note(bool stored, const std::string& store)
    {
        if (!stored && !failed)
            failed = store;
    }
    std::optional<std::string> failed;
};

} // namespace

void frmMain::loadOptionsPage()
{
    using namespace settings;
    setPathText(ui->txtLogonScreenFolder, Read(LogonScreensFolder));
    checkFrom(ui->checkClose, CloseBrowse);
    checkFrom(ui->checkAlert, AlertYN);
    WriteIfEmpty(MinimizeToTray, "0");
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
    // "Rotate every", the count box and "logon(s)." are usable only while random selection is ticked.
    const bool enabled = ui->checkRandom->isChecked();
    ui->labelRandom1->setEnabled(enabled);
    ui->labelRandom2->setEnabled(enabled);
    ui->txtRotateEvery->setEnabled(enabled);
}

void frmMain::btnSaveOptions_Click()
{
    using namespace settings;
    SaveWrites write;
    const std::string folder = pathText(ui->txtLogonScreenFolder);
    if (!folder.empty())
        write.setting(LogonScreensFolder, folder);
    write.flag(CloseBrowse, ui->checkClose);
    write.flag(AlertYN, ui->checkAlert);
    write.flag(MinimizeToTray, ui->checkMinimize);
    write.flag(EnableRandom, ui->checkRandom);

    // What the file now says decides, not the box.
    if (IsOn(Read(EnableRandom))) {
        write.runValue(RunValueRandomPath(), options::RandomRunCommand());
        ui->btnBrowse->setText(fromLatin(options::BrowseCaptionRandom));
        const options::RotationCounts counts = options::CountsToSave(ui->txtRotateEvery->text().toStdString());
        write.setting(RotateEvery, counts.rotateEvery);
        write.setting(NextRotation, counts.nextRotation);
    } else {
        write.noRunValue(RunValueRandomPath());
        ui->btnBrowse->setText(fromLatin(options::BrowseCaptionPlain));
    }

    write.flag(RunAtStartup, ui->checkRunAtStartup);
    if (ui->checkRunAtStartup->isChecked())
        write.runValue(RunValueStartupPath(), options::StartupRunCommand());
    else
        write.noRunValue(RunValueStartupPath());

    ui->tabUI->setCurrentIndex(0);
    if (write.failedStore())
        shell.ShowMessage(this, NotStoredMessage(failuretext::SettingsNotSaved, *write.failedStore()));
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
