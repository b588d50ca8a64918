#include "browselistmodel.h"

#include <QFile>

namespace doorsel {

QString DisplayName(std::string_view bytes)
{
    return QFile::decodeName(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void BrowseListModel::setRows(BrowseRows rows, bool checkBoxes)
{
    beginResetModel();
    list = std::move(rows);
    boxes = checkBoxes;
    endResetModel();
}

int BrowseListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(list.size());
}

int BrowseListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BrowseListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const auto row = static_cast<size_t>(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case FileNameColumn:
            return DisplayName(list.fileName(row));
        case DirectoryColumn:
            return DisplayName(list.folderName(row));
        default:
            return DisplayName(list.fullPath(row));
        }
    }
    if (role == Qt::CheckStateRole && boxes && index.column() == FileNameColumn)
        return static_cast<int>(list.marked(row) ? Qt::Checked : Qt::Unchecked);
    return {};
}

bool BrowseListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !boxes || index.column() != FileNameColumn
        || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    list.setMarked(static_cast<size_t>(index.row()), value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags BrowseListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (boxes && index.column() == FileNameColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant BrowseListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case FileNameColumn:
        return tr("File Name");
    case DirectoryColumn:
        return tr("Directory");
    case FilePathColumn:
        return tr("File Path");
    default:
        return {};
    }
}

} // namespace doorsel
