#include "frmBrowse.h"

#include "ui_frmBrowse.h"

#include "browse/browselayout.h"
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
#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidgetItem>

#include <algorithm>

namespace doorsel {
namespace {

constexpr int PathRole = Qt::UserRole; // the full path, as bytes
constexpr int MarkRole = Qt::UserRole + 1; // in the random list, whether or not boxes are shown

enum Column { FileNameColumn, DirectoryColumn, FilePathColumn };

QString display(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

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
{
    ui->setupUi(this);
    UseFormTextSize(*this);
    FitControlsToText(*this);
    UseKeyboardAccess(*this);
    ui->listFiles->setItemDelegate(new RowDelegate(ui->listFiles));
    connect(ui->listFiles, &QTreeWidget::itemClicked, this, &frmBrowse::listFiles_ItemClick);
    connect(ui->listFiles, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!ui->listFiles->selectedItems().isEmpty())
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
    qDeleteAll(walkRows);
}

void frmBrowse::Form_Load(FolderLister list)
{
    ItemChosen = false;
    ui->listFiles->setHeaderLabels({tr("File Name"), tr("Directory"), tr("File Path")});
    ui->listFiles->header()->setStretchLastSection(false);
    ui->listFiles->setColumnWidth(FileNameColumn, 1400 / TwipsPerPixel);
    ui->listFiles->setColumnWidth(DirectoryColumn, 2700 / TwipsPerPixel);
    ui->listFiles->setColumnWidth(FilePathColumn, 0);

    folder = settings::Read(settings::LogonScreensFolder);
    walk = std::make_unique<FolderWalk>(folder, parentWidget(), std::move(list));
    connect(walk.get(), &FolderWalk::found, this, &frmBrowse::addRows);
    connect(walk.get(), &FolderWalk::finished, this, &frmBrowse::walkEnded);
    connect(walk.get(), &FolderWalk::cancelled, this, &frmBrowse::walkCancelled);
}

void frmBrowse::addRows(const std::vector<FoundFile>& files)
{
    for (const FoundFile& file : files)
        walkRows.append(makeRow(file));
}

void frmBrowse::walkEnded(const std::vector<bool>& marks)
{
    ui->labelBrowse->setText(display(BrowseCaption(folder)));
    ui->listFiles->setAccessibleDescription(ui->labelBrowse->text());

    const std::string closeBrowse = settings::Read(settings::CloseBrowse);
    if (!closeBrowse.empty())
        ui->checkClose->setChecked(settings::IsOn(closeBrowse));
    const bool checkBoxes = applyLayout();

    for (qsizetype i = 0; i < walkRows.size(); ++i)
        markRow(*walkRows[i], marks[static_cast<size_t>(i)], checkBoxes);
    // Added in one go, marks and boxes already set: a list view takes ten thousand rows at once far
    // faster than one by one, and a box set on a row in the list makes the list redraw.
    ui->listFiles->addTopLevelItems(walkRows);
    walkRows.clear();
    // The window opens on the first control of its tab order, not on the list, where Space would
    // tick a row.
    ui->btnSetBrowse->setFocus();
    emit loaded();
}

QTreeWidgetItem* frmBrowse::makeRow(const FoundFile& file)
{
    auto* row = new QTreeWidgetItem;
    row->setText(FileNameColumn, display(file.fileName));
    row->setText(DirectoryColumn, display(file.folderName));
    row->setText(FilePathColumn, display(file.fullPath));
    row->setData(
        FilePathColumn, PathRole, QByteArray(file.fullPath.data(), static_cast<qsizetype>(file.fullPath.size())));
    return row;
}

void frmBrowse::markRow(QTreeWidgetItem& row, bool marked, bool checkBox)
{
    // The marks are set whatever the layout; the boxes, where shown, show them.
    row.setData(FileNameColumn, MarkRole, marked);
    if (checkBox) {
        row.setFlags(row.flags() | Qt::ItemIsUserCheckable);
        row.setCheckState(FileNameColumn, marked ? Qt::Checked : Qt::Unchecked);
    }
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

bool frmBrowse::checkBoxesShown() const
{
    return ui->listFiles->topLevelItemCount() > 0
        && ui->listFiles->topLevelItem(0)->data(FileNameColumn, Qt::CheckStateRole).isValid();
}

std::vector<std::string> frmBrowse::rowPaths() const
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(ui->listFiles->topLevelItemCount()));
    for (int i = 0; i < ui->listFiles->topLevelItemCount(); ++i)
        paths.push_back(ui->listFiles->topLevelItem(i)->data(FilePathColumn, PathRole).toByteArray().toStdString());
    return paths;
}

std::vector<bool> frmBrowse::rowMarks() const
{
    const bool shown = checkBoxesShown();
    std::vector<bool> marks;
    marks.reserve(static_cast<size_t>(ui->listFiles->topLevelItemCount()));
    for (int i = 0; i < ui->listFiles->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = ui->listFiles->topLevelItem(i);
        marks.push_back(
            shown ? row->checkState(FileNameColumn) == Qt::Checked : row->data(FileNameColumn, MarkRole).toBool());
    }
    return marks;
}

std::string frmBrowse::selectedPath() const
{
    const QList<QTreeWidgetItem*> selected = ui->listFiles->selectedItems();
    if (selected.isEmpty())
        return {};
    return selected.front()->data(FilePathColumn, PathRole).toByteArray().toStdString();
}

void frmBrowse::SetPicture()
{
    if (ui->listFiles->selectedItems().isEmpty())
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
    if (!ItemChosen || ui->listFiles->selectedItems().isEmpty())
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
