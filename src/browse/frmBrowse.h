#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QTreeWidgetItem;

namespace Ui {
class frmBrowse;
}

namespace doorsel {

class BrowseOwner;
class Shell;
struct FoundFile;

// Lists every LogonUI executable under the logon-screens folder with a preview of the clicked row;
// sets the clicked one as the logon screen, and keeps the random list. Built anew each time it
// opens: the folder is walked before the window is first shown.
class frmBrowse : public QDialog {
    Q_OBJECT

public:
    frmBrowse(Shell& shell, BrowseOwner& owner, QWidget* parent = nullptr);
    ~frmBrowse() override;

    // Previews the selected row's file.
    void SetPicture();

    // The rows' full paths (bytes, as the walk built them) and their check marks, in list order.
    std::vector<std::string> rowPaths() const;
    std::vector<bool> rowMarks() const;

private:
    void Form_Load();
    static QTreeWidgetItem* makeRow(const FoundFile& file, bool marked, bool checkBox);
    // Arranges the window for "EnableRandom"; returns whether the rows show check boxes.
    bool applyLayout();
    void listFiles_ItemClick();
    void btnSetBrowse_Click();
    void btnSave_Click();
    void btnClose_Click();
    void picThumb_DblClick();

    std::string selectedPath() const;
    bool checkBoxesShown() const;

    std::unique_ptr<Ui::frmBrowse> ui;
    Shell& shell;
    BrowseOwner& owner;
    bool ItemChosen = false;
};

} // namespace doorsel
