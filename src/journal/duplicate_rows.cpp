#include "journal/duplicate_rows.h"

#include "base/cell_grid.h"

#include <bit>
#include <cstring>

namespace {
quint64 Mixed(quint64 value) { // the finaliser of MurmurHash3
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    return value ^ (value >> 33);
}
quint64 Step(quint64 hash, quint64 value) {
    return (std::rotl(hash, 29) ^ value) * 0x9e3779b97f4a7c15ULL;
}
} // namespace

// Cells past a row's stored ones are empty, as empty stored ones: only the others count, with
// their column, so that equal rows hash alike however many cells each keeps.
size_t DuplicateRowIndex::Hash(const TCellGrid& grid, int row) const {
    quint64 hash = 0;
    grid.ForEachStoredCell(row, [&](int col, std::string_view cell) {
        if (col >= columns || cell.empty())
            return;
        hash = Step(hash, quint64(col) << 32 | cell.size());
        size_t at = 0;
        for (; at + 8 <= cell.size(); at += 8) {
            quint64 chunk;
            std::memcpy(&chunk, cell.data() + at, 8);
            hash = Step(hash, chunk);
        }
        quint64 tail = 0;
        std::memcpy(&tail, cell.data() + at, cell.size() - at);
        hash = Step(hash, tail);
    });
    return size_t(Mixed(hash));
}

bool DuplicateRowIndex::SameRow(const TCellGrid& grid, int a, int b) const {
    for (int col = 0; col < columns; ++col)
        if (grid.CellUtf8(col, a) != grid.CellUtf8(col, b))
            return false;
    return true;
}

void DuplicateRowIndex::Insert(const TCellGrid& grid, int row) {
    const size_t mask = table.size() - 1;
    const size_t hash = Hash(grid, row);
    const auto tag = quint8(hash >> 56);
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (table[slot] == 0) {
            table[slot] = quint32(row + 1);
            tags[slot] = tag;
            ++used;
            return;
        }
        if (tags[slot] == tag && SameRow(grid, int(table[slot]) - 1, row)) {
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
    tags.assign(wanted, 0);
    used = 0;
    for (const quint32 entry : old)
        if (entry != 0)
            Insert(grid, int(entry) - 1);
}

void DuplicateRowIndex::Rebuild(const TCellGrid& grid) {
    table.clear();
    tags.clear();
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
