#include "journal/duplicate_rows.h"

#include "base/cell_grid.h"

#include <QHashFunctions>
#include <bit>

size_t DuplicateRowIndex::Hash(const TCellGrid& grid, int row) const {
    size_t seed = 0;
    for (int col = 0; col < columns; ++col) {
        const std::string_view cell = grid.CellUtf8(col, row);
        seed = qHashMulti(seed, qHashBits(cell.data(), cell.size()), cell.size());
    }
    return seed;
}

bool DuplicateRowIndex::SameRow(const TCellGrid& grid, int a, int b) const {
    for (int col = 0; col < columns; ++col)
        if (grid.CellUtf8(col, a) != grid.CellUtf8(col, b))
            return false;
    return true;
}

void DuplicateRowIndex::Insert(const TCellGrid& grid, int row) {
    const size_t mask = table.size() - 1;
    for (size_t slot = Hash(grid, row) & mask;; slot = (slot + 1) & mask) {
        if (table[slot] == 0) {
            table[slot] = quint32(row + 1);
            ++used;
            return;
        }
        if (SameRow(grid, int(table[slot]) - 1, row)) {
            duplicates = true; // the first occurrence stays the one indexed
            return;
        }
    }
}

// At most half the table in use, so that a probe meets a free slot soon.
void DuplicateRowIndex::Grow(const TCellGrid& grid, size_t rowCount) {
    const size_t wanted = std::bit_ceil(std::max<size_t>(rowCount * 2, 64));
    if (wanted <= table.size())
        return;
    std::vector<quint32> old = std::move(table);
    table.assign(wanted, 0);
    used = 0;
    for (const quint32 entry : old)
        if (entry != 0)
            Insert(grid, int(entry) - 1);
}

void DuplicateRowIndex::Rebuild(const TCellGrid& grid) {
    table.clear();
    used = 0;
    duplicates = false;
    Grow(grid, size_t(grid.RowCount()));
    for (int row = 1; row < grid.RowCount(); ++row)
        Insert(grid, row);
    valid = true;
}

void DuplicateRowIndex::Add(const TCellGrid& grid, int row) {
    if (!valid)
        return;
    Grow(grid, used + 1);
    Insert(grid, row);
}
