#include "browselistview.h"

#include "widgets/accessiblefactory.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QWindow>

#include <map>
#include <utility>

namespace doorsel {
namespace {

// The name a screen reader knows a check box's action by, in a table cell as anywhere.
const QString ToggleAction = QStringLiteral("toggle");

// The model columns the view shows, in their order.
QList<int> ShownColumns(const QTreeView& view)
{
    QList<int> columns;
    if (view.model() == nullptr)
        return columns;
    for (int column = 0; column < view.model()->columnCount(view.rootIndex()); ++column) {
        if (!view.isColumnHidden(column))
            columns.append(column);
    }
    return columns;
}

// The column a screen reader is told has the focus on the current row: the current one where shown.
int FocusColumn(const QTreeView& view, const QModelIndex& current)
{
    if (!view.isColumnHidden(current.column()))
        return current.column();
    return ShownColumns(view).value(0, current.column());
}

// The number a screen reader knows a cell by among the list's children: the header row first, then
// the rows, each of them its shown columns. Row -1 is the header row.
int ChildNumber(const QTreeView& view, int row, int column)
{
    const QList<int> shown = ShownColumns(view);
    const auto at = static_cast<int>(shown.indexOf(column));
    return at < 0 ? -1 : (row + 1) * static_cast<int>(shown.size()) + at;
}

// One cell of the list, or with row -1 a column's header.
class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
    CellAccessible(QTreeView* view, int row, int column)
        : list(view)
        , row(row)
        , column(column)
    {
    }

    bool belongsTo(const QTreeView* view) const { return list == view; }
    int number() const { return ChildNumber(*list, row, column); }

    bool isValid() const override
    {
        return list && list->model() != nullptr && row < list->model()->rowCount(list->rootIndex())
            && column < list->model()->columnCount(list->rootIndex());
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list ? list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list.data()); }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        if (row < 0)
            return list->model()->headerData(column, Qt::Horizontal).toString();
        return index().data().toString();
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        if (row < 0) {
            const QHeaderView* header = list->header();
            if (header->isHidden())
                return {};
            const QRect section(
                header->sectionViewportPosition(column), 0, header->sectionSize(column), header->height());
            return {header->viewport()->mapToGlobal(section.topLeft()), section.size()};
        }
        const QRect cell = list->visualRect(index());
        return {list->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
    }

    QAccessible::Role role() const override { return row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        if (row < 0)
            return state;
        const QModelIndex cell = index();
        if (!list->viewport()->rect().intersects(list->visualRect(cell)))
            state.offscreen = true;
        const Qt::ItemFlags flags = cell.flags();
        state.selectable = flags.testFlag(Qt::ItemIsSelectable);
        state.selected = list->selectionModel()->isSelected(cell);
        state.focusable = true;
        const QModelIndex current = list->currentIndex();
        state.focused = list->hasFocus() && current.row() == row && FocusColumn(*list, current) == column;
        if (flags.testFlag(Qt::ItemIsUserCheckable)) {
            state.checkable = true;
            state.checked = cell.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (t == QAccessible::ActionInterface && row >= 0)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return isValid() && row >= 0 && list->selectionModel()->isSelected(index()); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return list ? static_cast<int>(ShownColumns(*list).indexOf(column)) : -1; }
    int rowIndex() const override { return row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override
    {
        if (isValid() && row >= 0 && index().flags().testFlag(Qt::ItemIsUserCheckable))
            return {ToggleAction};
        return {};
    }
    void doAction(const QString& name) override
    {
        if (name != ToggleAction || !actionNames().contains(name))
            return;
        const bool checked = index().data(Qt::CheckStateRole).toInt() == Qt::Checked;
        list->model()->setData(index(), checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

private:
    QModelIndex index() const { return list->model()->index(row, column, list->rootIndex()); }

    QPointer<QTreeView> list;
    int row;
    int column;
};

// The list as a table of its shown columns, with a header row.
class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(QTreeView* view)
        : QAccessibleWidget(view, QAccessible::Table)
    {
    }
    ~ListAccessible() override { forgetCells(); }
    ListAccessible(const ListAccessible&) = delete;
    ListAccessible& operator=(const ListAccessible&) = delete;

    // The cell of a model row and column; row -1 for the column's header.
    QAccessibleInterface* cell(int row, int column) const
    {
        const auto key = std::make_pair(row, column);
        const auto known = cells.find(key);
        if (known != cells.end())
            return QAccessible::accessibleInterface(known->second);
        auto* made = new CellAccessible(view(), row, column);
        cells.emplace(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    bool isValid() const override { return QAccessibleWidget::isValid() && view()->model() != nullptr; }

    int childCount() const override
    {
        if (!isValid())
            return 0;
        return (rowCount() + 1) * columnCount();
    }
    QAccessibleInterface* child(int index) const override
    {
        const QList<int> shown = isValid() ? ShownColumns(*view()) : QList<int>();
        if (index < 0 || shown.isEmpty())
            return nullptr;
        const int row = index / static_cast<int>(shown.size()) - 1;
        if (row >= rowCount())
            return nullptr;
        return cell(row, shown.at(index % shown.size()));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* cell = dynamic_cast<const CellAccessible*>(child);
        return cell != nullptr && cell->belongsTo(view()) ? cell->number() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (!isValid())
            return nullptr;
        const QModelIndex at = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        if (!at.isValid() || view()->isColumnHidden(at.column()))
            return nullptr;
        return cell(at.row(), at.column());
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        if (!isValid() || !view()->hasFocus() || !current.isValid())
            return nullptr;
        return cell(current.row(), FocusColumn(*view(), current));
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        const int shown = isValid() ? ShownColumns(*view()).value(column, -1) : -1;
        if (shown < 0 || row < 0 || row >= rowCount())
            return nullptr;
        return cell(row, shown);
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> selected;
        if (!isValid())
            return selected;
        for (const QModelIndex& index : view()->selectionModel()->selectedIndexes()) {
            if (!view()->isColumnHidden(index.column()))
                selected.append(cell(index.row(), index.column()));
        }
        return selected;
    }
    QString columnDescription(int column) const override
    {
        const int shown = isValid() ? ShownColumns(*view()).value(column, -1) : -1;
        return shown < 0 ? QString() : view()->model()->headerData(shown, Qt::Horizontal).toString();
    }
    QString rowDescription(int /*row*/) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override { return isValid() ? static_cast<int>(ShownColumns(*view()).size()) : 0; }
    int rowCount() const override { return isValid() ? view()->model()->rowCount(view()->rootIndex()) : 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        if (isValid()) {
            for (const QModelIndex& index : view()->selectionModel()->selectedRows())
                rows.append(index.row());
        }
        return rows;
    }
    bool isColumnSelected(int /*column*/) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return isValid() && view()->selectionModel()->isRowSelected(row, view()->rootIndex());
    }
    // The list selects whole rows, never columns.
    bool selectRow(int row) override { return selectRows(row, QItemSelectionModel::ClearAndSelect); }
    bool selectColumn(int /*column*/) override { return false; }
    bool unselectRow(int row) override { return selectRows(row, QItemSelectionModel::Deselect); }
    bool unselectColumn(int /*column*/) override { return false; }

    // When rows or columns come or go, the cells made for the old ones go with them; a change of data
    // keeps them, so that a screen reader hears the change on the cell it is on.
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
            forgetCells();
    }

private:
    QTreeView* view() const { return static_cast<QTreeView*>(widget()); }

    bool selectRows(int row, QItemSelectionModel::SelectionFlag how)
    {
        if (!isValid() || row < 0 || row >= rowCount() || view()->selectionMode() == QAbstractItemView::NoSelection)
            return false;
        const QModelIndex first = view()->model()->index(row, 0, view()->rootIndex());
        view()->selectionModel()->select(first, how | QItemSelectionModel::Rows);
        return true;
    }

    void forgetCells()
    {
        const auto made = std::exchange(cells, {});
        for (const auto& [key, id] : made)
            QAccessible::deleteAccessibleInterface(id);
    }

    mutable std::map<std::pair<int, int>, QAccessible::Id> cells;
};

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const
{
    const auto* table = dynamic_cast<const ListAccessible*>(parent());
    if (table == nullptr || row < 0)
        return {};
    return {table->cell(-1, column)};
}

QAccessibleInterface* MakeListAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String(BrowseListView::staticMetaObject.className()))
        return nullptr;
    auto* view = qobject_cast<BrowseListView*>(object);
    return view == nullptr ? nullptr : new ListAccessible(view);
}

// Tells a screen reader that the cell of a model row and column has changed in this way.
void Announce(QTreeView& view, int row, int column, QAccessible::Event what)
{
    QAccessibleEvent event(&view, what);
    event.setChild(ChildNumber(view, row, column));
    if (event.child() >= 0)
        QAccessible::updateAccessibility(&event);
}

} // namespace

BrowseListView::BrowseListView(QWidget* parent)
    : QTreeView(parent)
{
    InstallAccessibleFactoryOnce<MakeListAccessible>();
}

// QTreeView's own announcements number the cells over every model column, the hidden ones too; this
// list is heard over its shown columns only, so it announces its current and selected cells itself.
void BrowseListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous); // NOLINT(bugprone-parent-virtual-call)
    if (allColumnsShowFocus()) {
        for (const QModelIndex& row : {previous, current}) {
            if (row.isValid()) {
                const QRect cell = visualRect(row);
                viewport()->update(QRect(0, cell.top(), viewport()->width(), cell.height()));
            }
        }
    }
    if (QAccessible::isActive() && current.isValid() && hasFocus())
        Announce(*this, current.row(), FocusColumn(*this, current), QAccessible::Focus);
}

void BrowseListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected); // NOLINT(bugprone-parent-virtual-call)
    if (!QAccessible::isActive())
        return;
    const QModelIndex added = selected.indexes().value(0);
    if (added.isValid())
        Announce(*this, added.row(), FocusColumn(*this, added), QAccessible::SelectionAdd);
    const QModelIndex removed = deselected.indexes().value(0);
    if (removed.isValid())
        Announce(*this, removed.row(), FocusColumn(*this, removed), QAccessible::SelectionRemove);
}

void BrowseListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    if (!QAccessible::isActive() || (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole)))
        return;
    auto* table = dynamic_cast<ListAccessible*>(QAccessible::queryAccessibleInterface(this));
    if (table == nullptr)
        return;
    QAccessible::State checked;
    checked.checked = true;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        for (int column = topLeft.column(); column <= bottomRight.column(); ++column) {
            if (!isColumnHidden(column) && model()->index(row, column, rootIndex()).flags() & Qt::ItemIsUserCheckable) {
                QAccessibleStateChangeEvent event(table->cell(row, column), checked);
                QAccessible::updateAccessibility(&event);
            }
        }
    }
}

} // namespace doorsel
