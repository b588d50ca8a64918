#pragma once

#include "browse/searchfolder.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class frmBrowse;
}

namespace doorsel {

class BrowseListModel;
class BrowseOwner;
class FolderWalk;
class Shell;

// Lists every LogonUI executable under the logon-screens folder with a preview of the clicked row;
// sets the clicked one as the logon screen, and keeps the random list. Built anew each time it
// opens: the folder is walked before the window is first shown.
class frmBrowse : public QDialog {
    Q_OBJECT

public:
    // Starts the walk of the logon-screens folder, on a thread of its own: the window is to be shown
    // once loaded() has come, and not at all after walkCancelled(). The parent is the window that
    // opens it; `list` reads a folder (empty: the file system's own listing).
    frmBrowse(Shell& shell, BrowseOwner& owner, QWidget* parent = nullptr, FolderLister list = {});
    ~frmBrowse() override;

    // Previews the selected row's file.
    void SetPicture();

    // The rows' full paths (bytes, as the walk built them) and their check marks, in list order.
    std::vector<std::string> rowPaths() const;
    std::vector<bool> rowMarks() const;

signals:
    // The walk is over and every row is listed.
    void loaded();
    // The walk was cancelled: a list with only part of the rows would drop entries at the next save.
    void walkCancelled();

private:
    void Form_Load(FolderLister list);
    void walkEnded();
    // Arranges the window for "EnableRandom"; returns whether the rows show check boxes.
    bool applyLayout();
    void listFiles_ItemClick();
    void btnSetBrowse_Click();
    void btnSave_Click();
    void btnClose_Click();

    // The selected row's full path; empty when no row is selected.
    std::string selectedPath() const;

    std::unique_ptr<Ui::frmBrowse> ui;
    Shell& shell;
    BrowseOwner& owner;
    bool ItemChosen = false;
    std::string folder; // "LogonScreensFolder" as read for the walk
    BrowseListModel* listModel; // owned by the window
    std::unique_ptr<FolderWalk> walk;
};

} // namespace doorsel
