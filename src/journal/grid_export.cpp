#include "journal/grid_export.h"

#include "base/formats.h"
#include "base/text_encoding.h"

#include <QFileInfo>
#include <algorithm>

namespace {
struct TypeInfo {
    const char* name;
    const char* extension;
};
constexpr TypeInfo types[ChartExportTypeCount] = {
    {"Comma Separated Value (.csv)", "csv"},
    {"HTML (.htm)", "htm"},
    {"Ascii (.txt)", "txt"},
    {"Document Word (.doc)", "doc"},
    {"Feuille de calcul Excel (.xls)", "xls"},
    {"Image PNG (.png)", "png"},
    {"Image SVG (.svg)", "svg"},
};

const TypeInfo& Info(ExportType type) {
    return types[int(type) - 1];
}

QString EscapedCellText(const QString& text) {
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    escaped.replace(QLatin1String("\r\n"), QLatin1String("<br/>"));
    return escaped;
}

// A number cell as the program writes it: digits, an optional minus and decimal comma.
bool IsNumberCell(const QString& text) {
    if (text.isEmpty())
        return false;
    int i = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    bool digits = false, comma = false;
    for (; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            digits = true;
        else if (ch == QLatin1Char(',') && !comma && digits)
            comma = true;
        else
            return false;
    }
    return digits && !text.endsWith(QLatin1Char(','));
}

QString CsvField(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

bool IsImageExport(ExportType type) {
    return type == ExportType::Png || type == ExportType::Svg;
}

ExportType ExportTypeFromIndex(int filterIndex) {
    if (filterIndex < 1 || filterIndex > ExportTypeCount)
        return DefaultExportType;
    return ExportType(filterIndex);
}

QString ExportExtension(ExportType type) {
    return QString::fromLatin1(Info(type).extension);
}

QString ExportNameFilter(ExportType type) {
    return QString::fromUtf8(Info(type).name) + QStringLiteral(" (*.") + ExportExtension(type) +
           QLatin1Char(')');
}

QStringList ExportNameFilters(bool withImages) {
    QStringList filters;
    for (int i = 1; i <= (withImages ? ChartExportTypeCount : ExportTypeCount); ++i)
        filters << ExportNameFilter(ExportType(i));
    return filters;
}

ExportType ExportTypeOfFilter(const QString& nameFilter) {
    for (int i = 1; i <= ChartExportTypeCount; ++i) {
        const QString name = QString::fromUtf8(Info(ExportType(i)).name);
        if (nameFilter == ExportNameFilter(ExportType(i)) || nameFilter == name)
            return ExportType(i);
    }
    return DefaultExportType;
}

QString ExportFileName(const QString& chosenName, ExportType type) {
    const QFileInfo info(chosenName);
    QString base = chosenName;
    const QString fileName = info.fileName();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) // a leading dot names a hidden file, it is no extension
        base.chop(fileName.size() - dot);
    return base + QLatin1Char('.') + ExportExtension(type);
}

QByteArray GridHtml(const TCellGrid& grid) {
    QString html;
    html.reserve(grid.RowCount() * grid.ColCount() * 24 + 256);
    html += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n"
                           "<title>Journal</title>\n</head>\n<body>\n"
                           "<table border=\"1\" cellspacing=\"0\" width=\"100%\">\n");
    for (int row = 0; row < grid.RowCount(); ++row) {
        html += QLatin1String("<tr>");
        for (int col = 0; col < grid.ColCount(); ++col) {
            const QString text = EscapedCellText(grid.Cells(col, row));
            if (row == 0)
                html += QLatin1String("<th><b>") + text + QLatin1String("</b></th>");
            else
                html += QLatin1String("<td>") + text + QLatin1String("</td>");
        }
        html += QLatin1String("</tr>\n");
    }
    html += QLatin1String("</table>\n</body>\n</html>\n");
    return html.toUtf8();
}

QByteArray GridPlainText(const TCellGrid& grid) {
    QList<qsizetype> widths(grid.ColCount(), 0);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            widths[col] = std::max(widths[col], grid.Cells(col, row).size());
    qsizetype lineLength = 2;
    for (const qsizetype width : std::as_const(widths))
        lineLength += width + 1;
    QString text;
    text.reserve(lineLength * grid.RowCount());
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            const QString cell = grid.Cells(col, row);
            text += cell;
            text += QString(widths[col] + 1 - cell.size(), QLatin1Char(' '));
        }
        text += QLatin1String("\r\n");
    }
    return EncodeFileText(text);
}

QByteArray GridSpreadsheetCsv(const TCellGrid& grid, QList<bool>* textColumns) {
    QList<bool> isText(grid.ColCount(), false);
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            if (!isText[col]) {
                const QString cell = grid.Cells(col, row);
                isText[col] = !cell.isEmpty() && !IsNumberCell(cell);
            }
    QString csv;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            if (col > 0)
                csv += QLatin1Char(',');
            QString cell = grid.Cells(col, row);
            if (row > 0 && !isText[col] && IsNumberCell(cell))
                csv += cell.replace(QLatin1Char(','), QLatin1Char('.'));
            else
                csv += CsvField(cell);
        }
        csv += QLatin1String("\r\n");
    }
    if (textColumns)
        *textColumns = isText;
    return csv.toUtf8();
}

QString SpreadsheetTooLongText(int rowCount) {
    if (rowCount <= SpreadsheetRowLimit)
        return {};
    return QStringLiteral("Une feuille Excel (.xls) ne peut contenir que %1 lignes et ce tableau "
                          "en a %2 : rien n'a été exporté.\nChoisissez le format CSV, que les "
                          "tableurs ouvrent aussi.")
        .arg(GroupedFixedText(SpreadsheetRowLimit, 0), GroupedFixedText(rowCount, 0));
}
