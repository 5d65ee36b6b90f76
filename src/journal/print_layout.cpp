#include "journal/print_layout.h"

#include <algorithm>
#include <cmath>

int BodyRowsPerPage(double pageHeight, double titleHeight, double gap, double footerHeight,
                    double rowHeight) {
    if (rowHeight <= 0)
        return 1;
    const double room = pageHeight - titleHeight - gap - footerHeight - rowHeight; // header
    return std::max(1, static_cast<int>(std::floor(room / rowHeight)));
}

std::vector<PrintPage> PaginateRows(int bodyRows, int rowsPerPage) {
    rowsPerPage = std::max(1, rowsPerPage);
    std::vector<PrintPage> pages;
    for (int first = 1; first <= bodyRows; first += rowsPerPage)
        pages.push_back({first, std::min(rowsPerPage, bodyRows - first + 1)});
    if (pages.empty())
        pages.push_back({1, 0});
    return pages;
}

PageSpan ChosenPages(int pageCount, int fromPage, int toPage) {
    if (fromPage <= 0 && toPage <= 0)
        return {0, pageCount};
    const int first = std::clamp(fromPage, 1, std::max(1, pageCount));
    const int last = std::clamp(toPage <= 0 ? pageCount : toPage, first, pageCount);
    return {first - 1, std::max(first - 1, last)};
}

std::vector<double> FitColumnsToWidth(std::vector<double> widths, double pageWidth) {
    double total = 0;
    for (double width : widths)
        total += width;
    if (widths.empty() || total <= pageWidth)
        return widths;
    // The common width: the page less the columns left whole, shared by the others.
    std::vector<double> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    double whole = 0;
    double cap = std::max(0.0, pageWidth) / double(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        const double share = (pageWidth - whole) / double(sorted.size() - i);
        if (sorted[i] > share) {
            cap = std::max(0.0, share);
            break;
        }
        whole += sorted[i];
    }
    for (double& width : widths)
        width = std::min(width, cap);
    return widths;
}
