#include "journal/grid_export.h"
#include "journal/office_conversion.h"
#include "support/test_support.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {
// A small journal: header, an entry name with markup characters, an empty byte count.
void FillSmallJournal(TCellGrid& grid) {
    grid.SetColCount(8);
    grid.SetRowCount(3);
    grid.SetRowCells(0, {"Connexion", "Tarif", "Date", "Heure", "Durée", "Reçu", "Envoyé", "Coût"});
    grid.SetRowCells(
        1, {"<b>&\"x'", "Tarif local", "03/02/2003", "21:05:09", "00:10:00", "1536", "", "2,50"});
    grid.SetRowCells(
        2, {"Manuel", "Tarif local", "01/03/2003", "08:00:00", "01:00:00", "", "", "12,35"});
}

// LibreOffice converts an exported file back to text, as a user opening it would see it.
QString ConvertBack(const QString& file, const QString& filter, const QString& extension) {
    QTemporaryDir out;
    QProcess soffice;
    soffice.start("soffice", {"-env:UserInstallation=file://" + out.filePath("profile"),
                              "--headless", "--convert-to", filter, "--outdir", out.path(), file});
    if (!soffice.waitForFinished(180000))
        return {};
    const QString base = QFileInfo(file).completeBaseName();
    return QString::fromUtf8(ReadWholeFile(out.filePath(base + "." + extension)));
}
} // namespace

TEST(GridExport, NamesTypesAndTheWrittenFileName) {
    EXPECT_EQ(ExportNameFilters(),
              QStringList({"Comma Separated Value (.csv) (*.csv)", "HTML (.htm) (*.htm)",
                           "Ascii (.txt) (*.txt)", "Document Word (.doc) (*.doc)",
                           "Feuille de calcul Excel (.xls) (*.xls)"}));
    EXPECT_EQ(ExportTypeFromIndex(0), ExportType::Spreadsheet);
    EXPECT_EQ(ExportTypeFromIndex(3), ExportType::Text);
    EXPECT_EQ(ExportTypeOfFilter("HTML (.htm)"), ExportType::Html);
    EXPECT_EQ(ExportFileName("/tmp/mai.csv", ExportType::Text), "/tmp/mai.txt");
    EXPECT_EQ(ExportFileName("/tmp/mai", ExportType::Text), "/tmp/mai.txt");
    EXPECT_EQ(ExportFileName("/tmp/a.b/mai", ExportType::Html), "/tmp/a.b/mai.htm");
    EXPECT_EQ(SpreadsheetTooLongText(65536), "");
    EXPECT_TRUE(SpreadsheetTooLongText(100001).startsWith(
        "Une feuille Excel (.xls) ne peut contenir que 65 536 lignes et ce tableau en a 100 001"));
}

TEST(GridExport, PlainTextPadsEveryColumnAndHtmlEscapesEveryCell) {
    TCellGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetRowCells(0, {"Mois", "Durée", "Coût"});
    grid.SetRowCells(1, {"février 2003", "00:15:00", "3,75 F"});
    EXPECT_EQ(GridPlainText(grid), QString("Mois         Durée    Coût   \r\n"
                                           "février 2003 00:15:00 3,75 F \r\n")
                                       .toUtf8());

    TCellGrid journal;
    FillSmallJournal(journal);
    const QByteArray html = GridHtml(journal);
    EXPECT_TRUE(html.contains("<meta charset=\"utf-8\"/>"));
    EXPECT_TRUE(html.contains("width=\"100%\""));
    QXmlStreamReader reader(html);
    QStringList headers, cells;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"th")
            headers << reader.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (reader.isStartElement() && reader.name() == u"td")
            cells << reader.readElementText();
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(headers.size(), 8);
    EXPECT_EQ(headers.value(7), "Coût");
    EXPECT_TRUE(html.contains("<th><b>Connexion</b></th>"));
    ASSERT_EQ(cells.size(), 16);
    EXPECT_EQ(cells[0], "<b>&\"x'");
}

TEST(GridExport, WordAndSpreadsheetFilesOpenInLibreOfficeWithTheirCells) {
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    TCellGrid journal;
    FillSmallJournal(journal);
    QTemporaryDir folder;
    OfficeConversion conversion;
    QSignalSpy finished(&conversion, &OfficeConversion::Finished);
    QString error;

    const QString doc = folder.filePath("journal.doc");
    ASSERT_TRUE(conversion.Start(OfficeConversion::Target::WordDocument, GridHtml(journal), {}, doc,
                                 &error));
    EXPECT_FALSE(conversion.Start(OfficeConversion::Target::WordDocument, {}, {}, doc, &error));
    ASSERT_TRUE(finished.wait(200000));
    EXPECT_TRUE(finished.at(0).at(0).toBool()) << finished.at(0).at(1).toString().toStdString();
    EXPECT_TRUE(ReadWholeFile(doc).startsWith("\xD0\xCF\x11\xE0"));
    const QString text = ConvertBack(doc, "txt:Text (encoded):UTF8", "txt");
    for (const QString cell : {"Connexion", "Coût", "<b>&\"x'", "03/02/2003", "12,35"})
        EXPECT_TRUE(text.contains(cell)) << cell.toStdString();

    const QString xls = folder.filePath("journal.xls");
    QList<bool> textColumns;
    const QByteArray csv = GridSpreadsheetCsv(journal, &textColumns);
    EXPECT_EQ(textColumns, QList<bool>({true, true, true, true, true, false, false, false}));
    ASSERT_TRUE(
        conversion.Start(OfficeConversion::Target::Spreadsheet, csv, textColumns, xls, &error));
    ASSERT_TRUE(finished.wait(200000));
    EXPECT_TRUE(finished.at(1).at(0).toBool()) << finished.at(1).at(1).toString().toStdString();
    // Numbers come back as numbers (unquoted, with the CSV filter's decimal point), the rest as
    // the text it was (quoted).
    const QString back = ConvertBack(xls, "csv:Text - txt - csv (StarCalc):44,34,76,1", "csv");
    const QStringList lines = back.split("\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].trimmed(),
              R"("Connexion","Tarif","Date","Heure","Durée","Reçu","Envoyé","Coût")");
    EXPECT_EQ(lines[1].trimmed(),
              R"("<b>&""x'","Tarif local","03/02/2003","21:05:09","00:10:00",1536,,2.5)");
    EXPECT_EQ(lines[2].trimmed(),
              R"("Manuel","Tarif local","01/03/2003","08:00:00","01:00:00",,,12.35)");

    // Without LibreOffice, the "server not found" error and nothing written.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder.path().toLocal8Bit());
    EXPECT_FALSE(conversion.Start(OfficeConversion::Target::Spreadsheet, csv, textColumns,
                                  folder.filePath("absent.xls"), &error));
    qputenv("PATH", path);
    EXPECT_EQ(error, "Excel OLE server not found");
    EXPECT_FALSE(QFile::exists(folder.filePath("absent.xls")));
}

TEST(GridExport, AConversionEndedEarlyLeavesNoLibreOfficeAndNoFolder) {
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir temporary, folder;
    const QByteArray previousTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporary.path().toLocal8Bit());
    QByteArray csv;
    for (int row = 0; row < 60000; ++row)
        csv += "\"Session\",\"Tarif\",\"01/12/2026\",\"10:00:00\",\"00:10:00\"," +
               QByteArray::number(row) + "," + QByteArray::number(row) + ",1.5\n";
    {
        OfficeConversion conversion;
        ASSERT_TRUE(conversion.Start(OfficeConversion::Target::Spreadsheet, csv,
                                     {true, true, true, true, true, false, false, false},
                                     folder.filePath("journal.xls"), nullptr));
        QThread::msleep(1500); // LibreOffice's launcher has started the office by now
    }                          // the program ends while LibreOffice converts
    const auto leftOver = [&temporary] {
        QProcess pgrep;
        pgrep.start("pgrep", {"-f", temporary.path()});
        pgrep.waitForFinished();
        return QString::fromUtf8(pgrep.readAll()).trimmed() +
               QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ');
    };
    EXPECT_EQ(leftOver(), "");
    QThread::msleep(2000); // what a surviving office would write meanwhile
    EXPECT_EQ(leftOver(), "");
    qputenv("TMPDIR", previousTemporary);
}
