#pragma once

#include "browse/browserows.h"

#include <QAbstractTableModel>

#include <string_view>

namespace doorsel {

// Bytes of a file or folder name as the list shows them.
QString DisplayName(std::string_view bytes);

// The browse list's three columns over its rows: "File Name" (with the row's check box where shown),
// "Directory" and "File Path". Texts are made only when the view asks for them, so a row costs the
// list its bytes and its mark, whether the view shows ten rows or a million.
class BrowseListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileNameColumn, DirectoryColumn, FilePathColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Shows these rows; with checkBoxes, the file name column shows each row's mark and lets the user
    // change it.
    void setRows(BrowseRows rows, bool checkBoxes);
    const BrowseRows& rows() const { return list; }
    bool checkBoxes() const { return boxes; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    BrowseRows list;
    bool boxes = false;
};

} // namespace doorsel
