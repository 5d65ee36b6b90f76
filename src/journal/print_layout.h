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
// The pages chosen in the page-range dialog, numbered from 1: (0, 0) means every page, a range
// is clamped to the pages there are. Indices into the page list, first and past-the-end.
struct PageSpan {
    int begin = 0;
    int end = 0;
};
PageSpan ChosenPages(int pageCount, int fromPage, int toPage);
