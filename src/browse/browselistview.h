#pragma once

#include <QTreeView>

namespace doorsel {

// The browse list: a tree view of rows with no children, which a screen reader hears as a table of
// the shown columns only. A cell with a check box is heard as checked or not checked, has a "toggle"
// action that flips its mark, and announces each change of the mark however it was made.
class BrowseListView : public QTreeView {
    Q_OBJECT

public:
    explicit BrowseListView(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
};

} // namespace doorsel
