#include "frmBrowse.h"

#include "ui_frmBrowse.h"

#include "browse/browselayout.h"
#include "browse/browselistmodel.h"
#include "browse/browseowner.h"
#include "browse/folderwalk.h"
#include "browse/searchfolder.h"
#include "platform/appinfo.h"
#include "platform/logonswitch.h"
#include "platform/randomlist.h"
#include "platform/settings.h"
#include "platform/storefailure.h"
#include "preview/fit.h"
#include "widgets/formfit.h"
#include "widgets/keyboardaccess.h"
#include "widgets/shell.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace doorsel {
namespace {

// One row height whether or not the rows show check boxes: room for the text and the box, and a
// margin above and below so that neighbouring rows never touch.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QWidget* list = option.widget;
        const int content = std::max(
            option.fontMetrics.height(), list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list));
        size.setHeight(std::max(size.height(), content + 2 * RowMargin));
        return size;
    }

private:
    static constexpr int RowMargin = 2;
};

} // namespace

frmBrowse::frmBrowse(Shell& shell, BrowseOwner& owner, QWidget* parent, FolderLister list)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::frmBrowse>())
    , shell(shell)
    , owner(owner)
    , listModel(new BrowseListModel(this))
{
    ui->setupUi(this);
    UseFormTextSize(*this);
    FitControlsToText(*this);
    UseKeyboardAccess(*this);
    ui->listFiles->setItemDelegate(new RowDelegate(ui->listFiles));
    ui->listFiles->setModel(listModel);
    connect(ui->listFiles, &QTreeView::clicked, this, &frmBrowse::listFiles_ItemClick);
    connect(ui->listFiles->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (ui->listFiles->selectionModel()->hasSelection())
            listFiles_ItemClick();
    });
    connect(ui->btnSetBrowse, &QPushButton::clicked, this, &frmBrowse::btnSetBrowse_Click);
    connect(ui->btnSave, &QPushButton::clicked, this, &frmBrowse::btnSave_Click);
    connect(ui->btnClose, &QPushButton::clicked, this, &frmBrowse::btnClose_Click);
    ui->picThumb->OpenPicturesWith(shell);
    Form_Load(std::move(list));
}

frmBrowse::~frmBrowse()
{
    walk.reset();
}

void frmBrowse::Form_Load(FolderLister list)
{
    ItemChosen = false;
    // The model gives the three columns their headers; the full path is kept out of sight, and out of
    // a screen reader's hearing.
    ui->listFiles->header()->setStretchLastSection(false);
    ui->listFiles->setColumnWidth(BrowseListModel::FileNameColumn, 1400 / TwipsPerPixel);
    ui->listFiles->setColumnWidth(BrowseListModel::DirectoryColumn, 2700 / TwipsPerPixel);
    ui->listFiles->setColumnHidden(BrowseListModel::FilePathColumn, true);

    folder = settings::Read(settings::LogonScreensFolder);
    walk = std::make_unique<FolderWalk>(folder, parentWidget(), std::move(list));
    connect(walk.get(), &FolderWalk::finished, this, &frmBrowse::walkEnded);
    connect(walk.get(), &FolderWalk::cancelled, this, &frmBrowse::walkCancelled);
}

void frmBrowse::walkEnded()
{
    ui->labelBrowse->setText(DisplayName(BrowseCaption(folder)));
    ui->listFiles->setAccessibleDescription(ui->labelBrowse->text());

    const std::string closeBrowse = settings::Read(settings::CloseBrowse);
    if (!closeBrowse.empty())
        ui->checkClose->setChecked(settings::IsOn(closeBrowse));
    // The marks are set whatever the layout; the boxes, where shown, show them.
    listModel->setRows(walk->takeRows(), applyLayout());
    // The window opens on the first control of its tab order, not on the list, where Space would
    // tick a row.
    ui->btnSetBrowse->setFocus();
    emit loaded();
}

bool frmBrowse::applyLayout()
{
    const std::optional<BrowseLayout> chosen = BrowseLayoutFor(settings::Read(settings::EnableRandom));
    const BrowseLayout layout = chosen.value_or(FormBrowseLayout());
    if (chosen) {
        ui->btnSave->setVisible(layout.randomControlsVisible);
        ui->labelRandomInstructions->setVisible(layout.randomControlsVisible);
        ui->btnSetBrowse->move(ui->btnSetBrowse->x(), layout.buttonsTop / TwipsPerPixel);
        ui->btnClose->move(ui->btnClose->x(), layout.buttonsTop / TwipsPerPixel);
        ui->checkClose->move(ui->checkClose->x(), layout.checkCloseTop / TwipsPerPixel);
    }
    setFixedSize(width(), (layout.windowHeight - BrowseFrameHeight) / TwipsPerPixel);
    return layout.listCheckBoxes;
}

std::vector<std::string> frmBrowse::rowPaths() const
{
    const BrowseRows& list = listModel->rows();
    std::vector<std::string> paths;
    paths.reserve(list.size());
    for (size_t row = 0; row < list.size(); ++row)
        paths.emplace_back(list.fullPath(row));
    return paths;
}

std::vector<bool> frmBrowse::rowMarks() const
{
    const BrowseRows& list = listModel->rows();
    std::vector<bool> marks;
    marks.reserve(list.size());
    for (size_t row = 0; row < list.size(); ++row)
        marks.push_back(list.marked(row));
    return marks;
}

std::string frmBrowse::selectedPath() const
{
    const QModelIndexList selected = ui->listFiles->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    return listModel->rows().fullPath(static_cast<size_t>(selected.front().row()));
}

void frmBrowse::SetPicture()
{
    if (!ui->listFiles->selectionModel()->hasSelection())
        return;
    ui->picThumb->showPreviewOf(selectedPath());
}

void frmBrowse::listFiles_ItemClick()
{
    ItemChosen = true;
    SetPicture();
}

void frmBrowse::btnSetBrowse_Click()
{
    // Armed only by a row click, and disarmed by every set.
    if (!ItemChosen || !ui->listFiles->selectionModel()->hasSelection())
        return;
    ItemChosen = false;
    const bool closeAfter = ui->checkClose->isChecked();
    settings::Write(settings::CloseBrowse, closeAfter ? "1" : "0");
    const bool hostSet = SetLogonHost(selectedPath());
    owner.SetPicture();
    if (!hostSet) {
        // Nothing was set: the window stays for another try, and says why.
        shell.ShowMessage(this, SetFailedMessage());
    } else {
        if (closeAfter)
            close();
        if (SuccessMessageWanted())
            shell.ShowMessage(closeAfter ? owner.ownerWidget() : this, SetSuccessMessage);
    }
    const std::string stored = settings::Read(settings::CloseBrowse);
    if (!stored.empty())
        owner.SetCloseBrowseBox(settings::IsOn(stored) ? 1 : 0);
}

void frmBrowse::btnSave_Click()
{
    std::vector<RandomListRow> rows;
    const std::vector<std::string> paths = rowPaths();
    rows.reserve(paths.size());
    const std::vector<bool> marks = rowMarks();
    for (size_t i = 0; i < paths.size(); ++i)
        rows.push_back({marks[i], paths[i]});
    if (!SaveRandomList(rows))
        shell.ShowMessage(this, NotStoredMessage(failuretext::RandomListNotSaved, RandomListPath()));
}

void frmBrowse::btnClose_Click()
{
    close();
}

} // namespace doorsel
