#pragma once

#include <QtGlobal>
#include <vector>

class TCellGrid;

// Which journal rows repeat an earlier row in their first `columns` cells, kept up to date as
// rows are appended, so that asking after each session costs nothing whatever the journal's
// size. Rows are known by their index (4 bytes a slot) and a byte of their hash, which spares
// most comparisons of cells, done in the grid itself.
class DuplicateRowIndex {
  public:
    explicit DuplicateRowIndex(int columns) : columns(columns) {}

    // Indexes rows 1 to the grid's last one.
    void Rebuild(const TCellGrid& grid);
    // Adds the grid's row `row`, the last one; false when the index is no longer valid.
    void Add(const TCellGrid& grid, int row);
    void Invalidate() { valid = false; }
    bool Valid() const { return valid; }
    // Whether some row equals an earlier one.
    bool HasDuplicates() const { return duplicates; }

  private:
    size_t Hash(const TCellGrid& grid, int row) const;
    bool SameRow(const TCellGrid& grid, int a, int b) const;
    void Insert(const TCellGrid& grid, int row);
    void Grow(const TCellGrid& grid, size_t rowCount);

    int columns;
    std::vector<quint32> table; // row index + 1 in each slot; 0 is a free one
    std::vector<quint8> tags;   // the top byte of the hash of each slot's row
    size_t used = 0;
    bool valid = false;
    bool duplicates = false;
};
