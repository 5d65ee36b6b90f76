#pragma once

#include <vector>

// The body rows (grid rows 1 .. N) printed on one page, under a repeated header row.
struct PrintPage {
    int firstRow = 1;
    int rowCount = 0;
};

// How many body rows fit on a page under the title, the gap and the header row, above the
// footer; at least one, so that a page too small still makes progress.
int BodyRowsPerPage(double pageHeight, double titleHeight, double gap, double footerHeight,
                    double rowHeight);
// The pages of a table of `bodyRows` rows under a header: one page at least, even empty.
std::vector<PrintPage> PaginateRows(int bodyRows, int rowsPerPage);
// Column widths that fit `pageWidth`: when the table is wider, the widest columns are narrowed
// to one common width, the others kept whole, so that every column is printed (the narrowed
// cells cut short) and the narrow ones, the costs among them, stay readable.
std::vector<double> FitColumnsToWidth(std::vector<double> widths, double pageWidth);
// The pages chosen in the page-range dialog, numbered from 1: (0, 0) means every page, a range
// is clamped to the pages there are. Indices into the page list, first and past-the-end.
struct PageSpan {
    int begin = 0;
    int end = 0;
};
PageSpan ChosenPages(int pageCount, int fromPage, int toPage);
