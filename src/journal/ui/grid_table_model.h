#pragma once

#include <QAbstractTableModel>
#include <QFont>

class TCellGrid;

// Shows a cell grid in a table view without copying it: the grid's row 0 is the view's fixed
// header row, its other rows the body. The journal tables' looks: one column's body cells in
// red (the cost), one column in bold, header included (the month).
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    GridTableModel(TCellGrid& grid, const QFont& font, int redColumn, int boldColumn = -1,
                   QObject* parent = nullptr);

    const TCellGrid& Grid() const { return grid; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    void FollowGrid();

    TCellGrid& grid;
    QFont boldFont;
    int redColumn;
    int boldColumn;
};
