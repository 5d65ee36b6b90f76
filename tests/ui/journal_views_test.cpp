#include "app/application_title.h"
#include "app/ui/windows.h"
#include "journal/ui/journal_table_style.h"
#include "journal/ui/journal_window.h"
#include "journal/ui/month_chart.h"
#include "support/app_fixture.h"
#include "widgets/french_translations.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QBarSet>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedBarSeries>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>

namespace {
SessionRecord TenMinutesAtNine(const QDate& date, double cost) {
    SessionRecord session;
    session.date = date;
    session.startTime = QTime(9, 0);
    session.durationSeconds = 600;
    session.cost = cost;
    return session;
}

// Runs `action` on the next modal widget of type T (a file or print dialog) once it shows.
template <typename T> std::shared_ptr<bool> OnNextModal(std::function<void(T*)> action) {
    auto done = std::make_shared<bool>(false);
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action, done] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            dialog && dialog->isVisible()) {
            poll->deleteLater();
            *done = true;
            action(dialog);
        }
    });
    poll->start(10);
    QTimer::singleShot(20000, poll, &QObject::deleteLater);
    return done;
}

// What the export dialog proposed, and the answer given to it.
struct SaveDialogSeen {
    QString title, filter, proposedName, folder, folderType;
    QStringList filters;
};
std::shared_ptr<SaveDialogSeen> AnswerSaveDialog(int typeIndex, const QString& fileName) {
    auto seen = std::make_shared<SaveDialogSeen>();
    OnNextModal<QFileDialog>([seen, typeIndex, fileName](QFileDialog* dialog) {
        seen->title = dialog->windowTitle();
        seen->filters = dialog->nameFilters();
        seen->filter = dialog->selectedNameFilter();
        seen->folder = dialog->directory().absolutePath();
        seen->folderType = dialog->iconProvider()->type(QFileInfo(seen->folder));
        seen->proposedName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        dialog->selectNameFilter(seen->filters.value(typeIndex - 1));
        // Typed into the name field: selectFile() leaves the field alone once it has the focus.
        dialog->setDirectory(QFileInfo(fileName).absolutePath());
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(fileName).fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    });
    return seen;
}

class JournalViewsTest : public AppWindowsTest {
  protected:
    void SetUp() override {
        AppWindowsTest::SetUp();
        Form1->CurrEdit->setText("F");
        exports = std::make_unique<QTemporaryDir>();
    }
    void TearDown() override {
        Journal->close();
        AppWindowsTest::TearDown();
    }
    void Row(const QString& connection, const QString& date, const QString& duration,
             const QString& received, const QString& sent, const QString& cost) {
        Journal->jgrid->AppendRow(
            {connection, "Tarif local", date, "21:05:09", duration, received, sent, cost});
        Journal->jgrid->SetRowCells(
            0, {"Connexion", "Tarif", "Date", "Heure", "Durée", "Reçu", "Envoyé", "Coût"});
    }
    void FebruaryAndMarch() {
        Row("Wanadoo", "03/02/2003", "00:10:00", "", "", "2,50");
        Row("<b>&", "01/03/2003", "01:00:00", "", "", "8,75");
        Row("Wanadoo", "15/02/2003", "00:00:30", "", "", "1,25");
    }
    QString Cell(QTableView* view, int row, int col) const {
        return view->model()->index(row, col).data().toString();
    }
    QString File(const QString& name) const { return exports->filePath(name); }

    std::unique_ptr<QTemporaryDir> exports;
};
} // namespace

TEST_F(JournalViewsTest, JournalMenuOpensTheWindowOnlyWhenTheJournalHoldsASession) {
    auto empty = AnswerNextBox("OK");
    Form1->Journal1Click();
    EXPECT_EQ(empty->title, "Information");
    EXPECT_EQ(empty->text, "Le journal est vide.");
    EXPECT_FALSE(Journal->isVisible());

    FebruaryAndMarch();
    bool shownModally = false;
    QTimer::singleShot(200, Journal, [&] {
        shownModally = Journal->isVisible() && QApplication::activeModalWidget() == Journal;
        Journal->BitBtn1->click();
    });
    Form1->Journal1Click();
    EXPECT_TRUE(shownModally);
    EXPECT_FALSE(Journal->isVisible());
}

TEST_F(JournalViewsTest, BothPagesShowTheSessionsTheMonthsAndTheTotals) {
    FebruaryAndMarch();
    Journal->show();
    EXPECT_EQ(Journal->windowTitle(), "Journal");
    EXPECT_EQ(Journal->PageControl1->tabPosition(), QTabWidget::South);
    EXPECT_EQ(Journal->PageControl1->tabText(0), "Détail");
    EXPECT_EQ(Journal->PageControl1->tabText(1), "Par mois");

    QTableView* vgrid = Journal->vgrid;
    ASSERT_EQ(vgrid->model()->rowCount(), 3);
    EXPECT_EQ(vgrid->model()->headerData(7, Qt::Horizontal).toString(), "Coût");
    EXPECT_EQ(Cell(vgrid, 1, 0), "<b>&");
    EXPECT_EQ(vgrid->model()->index(0, 7).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::red));
    EXPECT_EQ(vgrid->verticalHeader()->defaultSectionSize(), 21);
    EXPECT_TRUE(vgrid->horizontalHeader()->stretchLastSection());
    EXPECT_EQ(vgrid->horizontalHeader()->defaultAlignment(), Qt::AlignCenter);

    QTableView* mgrid = Journal->mgrid;
    ASSERT_EQ(mgrid->model()->rowCount(), 3);
    EXPECT_EQ(Cell(mgrid, 0, 0), "février 2003");
    EXPECT_EQ(Cell(mgrid, 0, 4), "2,50 F");
    EXPECT_EQ(Cell(mgrid, 1, 0), "mars 2003");
    EXPECT_EQ(Cell(mgrid, 2, 0), "février 2003"); // February again, after March
    EXPECT_EQ(Cell(mgrid, 2, 1), "00:00:30");
    EXPECT_TRUE(mgrid->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(mgrid->model()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());

    EXPECT_EQ(Journal->Label3->text(), "01:10:30");
    EXPECT_EQ(Journal->Label4->text(), "12,50 F");
    EXPECT_EQ(Journal->Label7->text(), "0 octets");
    EXPECT_EQ(Journal->Label8->text(), "0 octets");

    // A session appended while the window is open is added, not rebuilt.
    QSignalSpy resets(vgrid->model(), &QAbstractItemModel::modelReset);
    QSignalSpy monthResets(mgrid->model(), &QAbstractItemModel::modelReset);
    Row("Wanadoo", "20/02/2003", "00:00:30", "2048", "", "1,00");
    Journal->RefreshJournalViews();
    EXPECT_EQ(vgrid->model()->rowCount(), 4);
    EXPECT_EQ(Cell(mgrid, 2, 2), "2,00 Ko");
    EXPECT_EQ(Journal->Label4->text(), "13,50 F");
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(monthResets.count(), 0);
}

TEST_F(JournalViewsTest, AColumnFitsItsWidestTextAccentedOrNot) {
    const QString accented = QString(30, QChar(u'é'));
    Row(accented, "21/02/2003", "00:00:30", "", "", "1,00");
    Row("Wanadoo", "03/02/2003", "00:10:00", "", "", "2,50");
    Journal->show();
    const QFontMetrics metrics(JournalTableFont());
    // Measured by summed character advances: the text fits, with a few pixels to spare.
    for (const auto& [col, text] : {std::pair{0, accented}, std::pair{1, QString("Tarif local")}}) {
        const int fitted = Journal->vgrid->columnWidth(col) - JournalColumnMargin;
        EXPECT_GE(fitted, metrics.horizontalAdvance(text)) << col;
        EXPECT_LE(fitted, metrics.horizontalAdvance(text) * 1.05 + 2) << col;
    }
}

TEST_F(JournalViewsTest, AnUnreadableDateStopsTheRebuildWithoutAMessage) {
    Row("Wanadoo", "10/01/2003", "00:10:00", "", "", "1,00");
    Row("Wanadoo", "10/02/2003", "00:10:00", "", "", "1,00");
    Row("Wanadoo", "10/03/2003", "00:10:00", "", "", "1,00");
    Row("Wanadoo", "hier", "00:10:00", "", "", "1,00");
    Journal->show();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Journal->mgrid->model()->rowCount(), 2); // January and February were finished
    EXPECT_EQ(Journal->Label4->text(), "4,00 F");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(JournalViewsTest, ExportsWriteTheActivePageInTheChosenType) {
    FebruaryAndMarch();
    Journal->show();
    EXPECT_EQ(Form1->ExportFilterIndex, 5);
    Form1->ExportFolder = exports->path();

    // Ascii with a name typed as .csv: written as .txt, padded columns.
    auto seen = AnswerSaveDialog(3, File("mai.csv"));
    Journal->ExportBtn->click();
    EXPECT_EQ(seen->title, "Exportation du journal");
    EXPECT_EQ(seen->filters.size(), 5);
    EXPECT_EQ(seen->filter, "Feuille de calcul Excel (.xls)");
    EXPECT_EQ(seen->proposedName, "journal.xls");
    EXPECT_EQ(seen->folder, exports->path());
    EXPECT_EQ(seen->folderType, "Dossier"); // types told by name, never read from /proc
    EXPECT_FALSE(QFile::exists(File("mai.csv")));
    const QByteArray text = ReadWholeFile(File("mai.txt"));
    EXPECT_TRUE(text.startsWith("Connexion Tarif       Date       Heure    Durée    Reçu Envoyé "
                                "Coût \r\nWanadoo   Tarif local 03/02/2003 21:05:09 00:10:00 "
                                "            2,50 \r\n"));
    EXPECT_EQ(Form1->ExportFilterIndex, 3);

    // CSV through the table's own save, byte for byte.
    AnswerSaveDialog(1, File("journal"));
    Journal->ExportBtn->click();
    EXPECT_EQ(ReadWholeFile(File("journal.csv")),
              "Connexion,Tarif,Date,Heure,Durée,Reçu,Envoyé,Coût\r\n"
              "Wanadoo,Tarif local,03/02/2003,21:05:09,00:10:00,\"\",\"\",\"2,50\"\r\n"
              "<b>&,Tarif local,01/03/2003,21:05:09,01:00:00,\"\",\"\",\"8,75\"\r\n"
              "Wanadoo,Tarif local,15/02/2003,21:05:09,00:00:30,\"\",\"\",\"1,25\"\r\n");

    // The month page exports its five columns; an existing file is replaced only on "Oui".
    Journal->PageControl1->setCurrentIndex(1);
    AnswerSaveDialog(1, File("journal.csv"));
    auto replace = AnswerNextBox("&Non");
    Journal->ExportBtn->click();
    EXPECT_EQ(replace->title, "Confirmation");
    EXPECT_TRUE(ReadWholeFile(File("journal.csv")).startsWith("Connexion"));
    AnswerSaveDialog(1, File("journal.csv"));
    AnswerNextBox("&Oui");
    Journal->ExportBtn->click();
    EXPECT_EQ(ReadWholeFile(File("journal.csv")),
              "Mois,Durée,Reçu,Envoyé,Coût\r\n"
              "février 2003,00:10:00,0 octets,0 octets,\"2,50 F\"\r\n"
              "mars 2003,01:00:00,0 octets,0 octets,\"8,75 F\"\r\n"
              "février 2003,00:00:30,0 octets,0 octets,\"1,25 F\"\r\n");
}

TEST_F(JournalViewsTest, OfficeExportsRunInTheBackgroundAndNeedLibreOffice) {
    FebruaryAndMarch();
    Journal->show();
    Form1->ExportFolder = exports->path();

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", exports->path().toLocal8Bit());
    AnswerSaveDialog(4, File("journal.doc"));
    auto boxes = AnswerBoxes({"&Oui", "OK"});
    Journal->ExportBtn->click();
    qputenv("PATH", path);
    EXPECT_TRUE(
        boxes[0]->text.contains("Confirmez-vous l'exportation du journal au format Word ?"));
    EXPECT_EQ(boxes[0]->text.count('\n'), 2);
    EXPECT_EQ(boxes[1]->title, "Erreur");
    EXPECT_EQ(boxes[1]->text, "Word OLE server not found");
    EXPECT_FALSE(QFile::exists(File("journal.doc")));

    if (QStandardPaths::findExecutable("soffice").isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    AnswerSaveDialog(5, File("journal"));
    Journal->ExportBtn->click();
    EXPECT_FALSE(Journal->ExportBtn->isEnabled()); // no second export meanwhile
    EXPECT_TRUE(Journal->ExportRunning());
    EXPECT_NE(Journal->findChild<QWidget*>("ExportProgress"), nullptr);
    ASSERT_TRUE(WaitUntil([] { return !Journal->ExportRunning(); }, 200000));
    EXPECT_TRUE(Journal->ExportBtn->isEnabled());
    EXPECT_TRUE(ReadWholeFile(File("journal.xls")).startsWith("\xD0\xCF\x11\xE0"));
}

// Printing, to a print server of the test's own whose one queue writes a PDF file.
class JournalPrintTest : public JournalViewsTest {
  protected:
    void SetUp() override {
        JournalViewsTest::SetUp();
        if (QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/usr/bin"}).isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty())
            GTEST_SKIP() << "CUPS or poppler-utils is not installed";
        socket = QString::fromLocal8Bit(qgetenv("CUPS_SERVER"));
        root = QFileInfo(socket).absolutePath();
        QDir(root).removeRecursively();
        for (const char* sub : {"spool", "tmp", "cache", "state", "log", "out", "ppd"})
            QDir().mkpath(root + "/" + sub);
        QFile::setPermissions(root + "/tmp", QFileDevice::Permissions(0x7777));
        QFile::setPermissions(root + "/out", QFileDevice::Permissions(0x7777));
        WriteWholeFile(root + "/cupsd.conf", ("Listen " + socket +
                                              "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                              "<Location />\n  Order allow,deny\n  Allow all\n"
                                              "</Location>\n")
                                                 .toUtf8());
        QByteArray files;
        for (const auto& [key, value] :
             std::vector<std::pair<QString, QString>>{{"ServerRoot", ""},
                                                      {"RequestRoot", "/spool"},
                                                      {"TempDir", "/tmp"},
                                                      {"CacheDir", "/cache"},
                                                      {"StateDir", "/state"},
                                                      {"ErrorLog", "/log/error_log"},
                                                      {"AccessLog", "/log/access_log"},
                                                      {"PageLog", "/log/page_log"}})
            files += (key + " " + root + value + "\n").toUtf8();
        files += "FileDevice Yes\n";
        WriteWholeFile(root + "/cups-files.conf", files);
        cupsd.start(QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/usr/bin"}),
                    {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        ASSERT_TRUE(cupsd.waitForStarted());
        ASSERT_TRUE(WaitUntil([this] { return QFile::exists(socket); }, 10000));
        pdf = root + "/out/journal.pdf";
        ASSERT_EQ(QProcess::execute("lpadmin",
                                    {"-h", socket, "-p", "TESTPDF", "-E", "-v", "file://" + pdf,
                                     "-m", "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"}),
                  0);
        ASSERT_EQ(QProcess::execute("lpadmin", {"-h", socket, "-d", "TESTPDF"}), 0);
    }
    void TearDown() override {
        if (cupsd.state() != QProcess::NotRunning) {
            cupsd.terminate(); // our own cupsd, by its process
            cupsd.waitForFinished(10000);
        }
        if (!root.isEmpty())
            QDir(root).removeRecursively();
        JournalViewsTest::TearDown();
    }
    QString PdfText() const {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", pdf, "-"});
        pdftotext.waitForFinished(30000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    QProcess cupsd;
    QString socket, root, pdf;
};

TEST_F(JournalPrintTest, TheActiveTableIsPrintedWholeWithItsTitleDateAndHeaderOnEachPage) {
    // One name wider than the page: its column is narrowed, the others still printed.
    for (int i = 1; i <= 120; ++i)
        Row(QString("Session%1").arg(i, 3, 10, QChar('0')) + QString(i == 60 ? 150 : 0, 'x'),
            "03/02/2003", "00:10:00", "", "", "1,00");
    Journal->show();
    ASSERT_TRUE(Journal->Button2->isEnabled());

    // Cancelled: nothing printed. The dialog is French, also where Qt's catalogue is not.
    QObject translations;
    InstallFrenchTranslations(translations);
    auto cancelled = OnNextModal<QPrintDialog>([](QPrintDialog* dialog) {
        QStringList titles;
        for (const QGroupBox* group : dialog->findChildren<QGroupBox*>())
            titles << group->title();
        EXPECT_TRUE(titles.contains("Impression recto verso")) << titles.join('|').toStdString();
        dialog->reject();
    });
    Journal->Button2->click();
    EXPECT_TRUE(*cancelled);
    WaitUntil([] { return false; }, 1500);
    EXPECT_FALSE(QFile::exists(pdf));

    int lastPage = 0;
    OnNextModal<QPrintDialog>([&lastPage](QPrintDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "PrintDialog1");
        EXPECT_EQ(dialog->minPage(), 1);
        lastPage = dialog->maxPage();
        EXPECT_EQ(dialog->printer()->fromPage(), 1);
        EXPECT_EQ(dialog->printer()->toPage(), lastPage);
        dialog->accept();
    });
    Journal->Button2->click();
    ASSERT_GE(lastPage, 2);
    ASSERT_TRUE(WaitUntil([this] { return QFileInfo(pdf).size() > 0; }, 60000));
    QThread::msleep(500);
    const QString text = PdfText();
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), lastPage);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(ApplicationTitle()));
        EXPECT_TRUE(page.contains("08/12/2026"));
        EXPECT_TRUE(page.contains("Connexion"));
        EXPECT_TRUE(page.contains("Coût"));
        EXPECT_TRUE(page.contains("1,00"));
    }
    for (const QString name : {"Session001", "Session060", "Session120"})
        EXPECT_TRUE(text.contains(name)) << name.toStdString();
}

TEST_F(JournalPrintTest, AQueueRefusingJobsIsReportedAndAStoppedOneNoticed) {
    Row("Wanadoo", "03/12/2026", "00:10:00", "", "", "1,00");
    Journal->show();
    const auto printAndRead = [] {
        OnNextModal<QPrintDialog>([](QPrintDialog* dialog) { dialog->accept(); });
        auto text = std::make_shared<QString>();
        OnNextModal<QMessageBox>([text](QMessageBox* box) {
            *text = box->text();
            box->accept();
        });
        Journal->Button2->click();
        WaitUntil([text] { return !text->isEmpty(); }, 10000);
        return *text;
    };
    ASSERT_EQ(QProcess::execute("cupsreject", {"-h", socket, "TESTPDF"}), 0);
    EXPECT_EQ(printAndRead(), "L'imprimante TESTPDF n'accepte pas de travaux pour le moment. "
                              "Rien n'a été imprimé.");
    ASSERT_EQ(QProcess::execute("cupsaccept", {"-h", socket, "TESTPDF"}), 0);
    ASSERT_EQ(QProcess::execute("cupsdisable", {"-h", socket, "TESTPDF"}), 0);
    EXPECT_EQ(printAndRead(), "L'imprimante TESTPDF est arrêtée : l'impression attendra dans sa "
                              "file qu'elle soit remise en marche.");
    ASSERT_EQ(QProcess::execute("cupsenable", {"-h", socket, "TESTPDF"}), 0);
    EXPECT_TRUE(WaitUntil([this] { return QFileInfo(pdf).size() > 0; }, 60000));
}

TEST_F(JournalViewsTest, WithoutAPrinterThePrintButtonIsDisabled) {
    FebruaryAndMarch();
    Journal->setModal(true);
    Journal->show();
    Journal->showMinimized(); // refused while modal: nothing else could bring it back
    QCoreApplication::processEvents();
    EXPECT_FALSE(Journal->isMinimized());
    Journal->setModal(false);
    EXPECT_FALSE(Journal->Button2->isEnabled());
    EXPECT_EQ(Journal->Button2->toolTip(), "Aucune imprimante n'est installée.");
}

TEST_F(JournalViewsTest, TheChartPageDrawsTheMonthsAndExportsItsImages) {
    Row("Wanadoo", "15/11/2026", "02:00:00", "", "", "6,00");
    Row("Wanadoo", "03/12/2026", "01:00:00", "", "", "10,00");
    Journal->show();
    EXPECT_EQ(Journal->PageControl1->tabText(2), "Graphique");
    // 7 days 10 hours of December's 31 days have passed.
    EXPECT_EQ(Journal->EstimateLabel->text(), "Estimation fin de mois : 41,80 F (4 h 10 mn)");
    Journal->PageControl1->setCurrentWidget(Journal->TabSheet3);
    const auto barSets = [] {
        auto* bars = qobject_cast<QStackedBarSeries*>(Journal->Chart->chart()->series().value(0));
        return bars ? bars->barSets() : QList<QBarSet*>();
    };
    ASSERT_EQ(barSets().size(), 2);
    EXPECT_EQ(barSets()[0]->count(), 24);
    EXPECT_DOUBLE_EQ(barSets()[0]->at(22), 6.0);
    EXPECT_NEAR(barSets()[1]->at(23), 31.80, 0.01); // the estimate above the recorded 10 F
    // An appended session shows at once.
    Journal->AppendSession(TenMinutesAtNine(QDate(2026, 12, 8), 2));
    EXPECT_DOUBLE_EQ(barSets()[0]->at(23), 12.0);
    // A connection's session ending with the window open counts once in the estimate.
    Form1->Session.Start(Now().addSecs(-600));
    Form1->Session.Tick(Now());
    Form1->SessionCost = 2;
    Form1->SessionActive = true;
    Form1->EndSession();
    EXPECT_DOUBLE_EQ(barSets()[0]->at(23), 14.0);
    EXPECT_EQ(Journal->EstimateLabel->text(), "Estimation fin de mois : 58,52 F (5 h 34 mn)");
    // Left open into the next month, the window follows the calendar.
    clock->clock.set(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    Journal->hide();
    Journal->show();
    clock->clock.set(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)));
    EXPECT_TRUE(WaitUntil(
        [] { return Journal->EstimateLabel->text().endsWith("pas avant le 2e jour"); }, 5000));

    // The images come after the five table types; the remembered table type stays.
    Form1->ExportFolder = exports->path();
    Form1->ExportFilterIndex = 3;
    auto seen = AnswerSaveDialog(6, File("journal.png"));
    Journal->ExportBtn->click();
    EXPECT_EQ(seen->filters.size(), 7);
    EXPECT_EQ(seen->proposedName, "journal.png");
    const QImage image(File("journal.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), Journal->Chart->size());
    EXPECT_GT(image.size().width(), 400);
    bool barDrawn = false; // the recorded cost's colour
    for (int y = 0; y < image.height() && !barDrawn; ++y)
        for (int x = 0; x < image.width() && !barDrawn; ++x)
            barDrawn = image.pixelColor(x, y) == QColor(31, 111, 178);
    EXPECT_TRUE(barDrawn);
    EXPECT_EQ(Form1->ExportFilterIndex, 3);
    AnswerSaveDialog(7, File("journal.svg"));
    Journal->ExportBtn->click();
    EXPECT_TRUE(ReadWholeFile(File("journal.svg")).contains("<svg"));
    EXPECT_EQ(Form1->ExportFilterIndex, 3);
}

TEST_F(JournalViewsTest, ASessionEndedWhileTheWindowIsHiddenShowsWhenItOpens) {
    Row("Wanadoo", "10/01/2003", "00:10:00", "", "", "1,00");
    Journal->show();
    Journal->hide();
    const SessionRecord session = TenMinutesAtNine(QDate(2003, 1, 11), 2);
    Journal->AppendSession(session);
    Journal->AppendSession(session); // a repeat goes at once, before the save
    EXPECT_EQ(Journal->RowCount(), 3);
    EXPECT_EQ(Journal->Label4->text(), "1,00 F"); // the views wait for the window
    Journal->show();
    EXPECT_EQ(Journal->Label4->text(), "3,00 F");
    EXPECT_EQ(Journal->vgrid->model()->rowCount(), 2);
}
