#include "journal/ui/grid_table_model.h"

#include "base/cell_grid.h"

#include <QBrush>
#include <algorithm>

GridTableModel::GridTableModel(TCellGrid& grid, const QFont& font, int redColumn, int boldColumn,
                               QObject* parent)
    : QAbstractTableModel(parent), grid(grid), boldFont(font), redColumn(redColumn),
      boldColumn(boldColumn) {
    boldFont.setBold(true);
    FollowGrid();
}

void GridTableModel::FollowGrid() {
    // The grid's changes, one row down: rows appended at the end stay cheap appends.
    connect(&grid, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (first >= 1)
                    beginInsertRows({}, first - 1, last - 1);
                else
                    beginResetModel();
            });
    connect(&grid, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first) {
        if (first >= 1)
            endInsertRows();
        else
            endResetModel();
    });
    connect(&grid, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                if (first >= 1)
                    beginRemoveRows({}, first - 1, last - 1);
                else
                    beginResetModel();
            });
    connect(&grid, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first) {
        if (first >= 1)
            endRemoveRows();
        else
            endResetModel();
    });
    connect(&grid, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (topLeft.row() == 0)
                    emit headerDataChanged(Qt::Horizontal, topLeft.column(), bottomRight.column());
                if (bottomRight.row() >= 1)
                    emit dataChanged(index(std::max(0, topLeft.row() - 1), topLeft.column()),
                                     index(bottomRight.row() - 1, bottomRight.column()));
            });
    connect(&grid, &QAbstractItemModel::modelAboutToBeReset, this,
            &GridTableModel::beginResetModel);
    connect(&grid, &QAbstractItemModel::modelReset, this, &GridTableModel::endResetModel);
    connect(&grid, &QAbstractItemModel::columnsAboutToBeInserted, this,
            &GridTableModel::beginResetModel);
    connect(&grid, &QAbstractItemModel::columnsInserted, this, &GridTableModel::endResetModel);
    connect(&grid, &QAbstractItemModel::columnsAboutToBeRemoved, this,
            &GridTableModel::beginResetModel);
    connect(&grid, &QAbstractItemModel::columnsRemoved, this, &GridTableModel::endResetModel);
    connect(&grid, &QAbstractItemModel::layoutAboutToBeChanged, this,
            [this] { emit layoutAboutToBeChanged(); });
    connect(&grid, &QAbstractItemModel::layoutChanged, this, [this] { emit layoutChanged(); });
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid.RowCount() - 1;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid.ColCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return grid.Cells(index.column(), index.row() + 1);
    case Qt::ForegroundRole:
        if (index.column() == redColumn)
            return QBrush(Qt::red);
        return {};
    case Qt::FontRole:
        if (index.column() == boldColumn)
            return boldFont;
        return {};
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return grid.Cells(section, 0);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        if (section == boldColumn)
            return boldFont;
        return {};
    default:
        return {};
    }
}
