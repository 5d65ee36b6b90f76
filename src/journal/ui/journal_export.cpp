// Exporting the journal window's tables to files.
#include "base/errors.h"
#include "base/safe_write.h"
#include "journal/grid_export.h"
#include "journal/office_conversion.h"
#include "journal/ui/journal_window.h"
#include "journal/ui/month_chart.h"
#include "widgets/caption_width.h"
#include "widgets/message_box.h"
#include "widgets/plain_file_icons.h"
#include "widgets/tform1.h"
#include "widgets/window_list.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>

namespace {
const QString wordQuestion =
    QStringLiteral("L'exportation au format Word est une opération longue (environ 1 mn pour "
                   "50 lignes).\nNe vous inquiétez donc pas si le programme ne répond plus "
                   "pendant cette durée.\nConfirmez-vous l'exportation du journal au format "
                   "Word ?");

// The folder and type remembered in the settings (kept here when there is no main window).
QString& FallbackFolder() {
    static QString folder = QDir::homePath() + QLatin1Char('/');
    return folder;
}
int& FallbackFilterIndex() {
    static int index = int(DefaultExportType);
    return index;
}
QString& ExportFolderSetting() {
    return Form1 ? Form1->ExportFolder : FallbackFolder();
}
int& ExportFilterIndexSetting() {
    return Form1 ? Form1->ExportFilterIndex : FallbackFilterIndex();
}

// The file type's name follows the chosen type, as the proposed name does at the start.
void FollowTypeInName(QFileDialog& dialog, const QString& nameFilter) {
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!nameEdit || nameEdit->text().isEmpty())
        return;
    dialog.selectFile(ExportFileName(nameEdit->text(), ExportTypeOfFilter(nameFilter)));
}

bool WriteExport(const QString& fileName, const QByteArray& contents, QWidget* parent) {
    const Result written = WriteFileSafely(fileName, contents);
    if (!written)
        ShowErrorBox(written.Message(), parent);
    return written.Ok();
}
} // namespace

void TJournal::ExportBtnClick() {
    // The chart page exports its image, or the month table it is drawn from.
    const QWidget* page = PageControl1->currentWidget();
    ExportGrid(page == TabSheet1 ? Store.jgrid : MonthTable, page == TabSheet3);
}

bool TJournal::WriteChartImage(bool svg, const QString& fileName) {
    return WriteExport(
        fileName, svg ? MonthChartView()->SvgContents() : MonthChartView()->PngContents(), this);
}

bool TJournal::ExportRunning() const {
    return conversion->Running();
}

void TJournal::ExportGrid(const TCellGrid& grid, bool chartImages) {
    if (ExportRunning())
        return; // one export at a time
    QString folder = ExportFolderSetting();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const ExportType preset =
        chartImages ? ExportType::Png : ExportTypeFromIndex(ExportFilterIndexSetting());

    QFileDialog dialog(this, QStringLiteral("Exportation du journal"), folder);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    UsePlainFileIcons(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(ExportNameFilters(chartImages));
    dialog.selectNameFilter(ExportNameFilter(preset));
    dialog.selectFile(QStringLiteral("journal.") + ExportExtension(preset));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString& filter) { FollowTypeInName(dialog, filter); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;

    const ExportType type = ExportTypeOfFilter(dialog.selectedNameFilter());
    const QString fileName = ExportFileName(dialog.selectedFiles().constFirst(), type);
    // Asked about the file that is written, whose extension may differ from the typed one.
    if (QFileInfo::exists(fileName) &&
        !AskYesNo(QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?")
                      .arg(QDir::toNativeSeparators(fileName)),
                  this))
        return;
    ExportFolderSetting() = QFileInfo(fileName).absolutePath() + QLatin1Char('/');
    if (IsImageExport(type)) {
        // The remembered type stays one of the tables' five.
        WriteChartImage(type == ExportType::Svg, fileName);
        return;
    }
    ExportFilterIndexSetting() = int(type);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (type) {
    case ExportType::Csv:
        try {
            grid.SaveToDelimitedFile(fileName);
        } catch (const AppError&) {
            QApplication::restoreOverrideCursor();
            ShowErrorBox(QStringLiteral("Impossible d'écrire le fichier %1.")
                             .arg(QDir::toNativeSeparators(fileName)),
                         this);
            return;
        }
        break;
    case ExportType::Html:
        WriteExport(fileName, GridHtml(grid), this);
        break;
    case ExportType::Text:
        WriteExport(fileName, GridPlainText(grid), this);
        break;
    case ExportType::Png:
    case ExportType::Svg:
        break; // written above
    case ExportType::Word:
    case ExportType::Spreadsheet: {
        QApplication::restoreOverrideCursor();
        const bool word = type == ExportType::Word;
        if (const QString tooLong = SpreadsheetTooLongText(grid.RowCount());
            !word && !tooLong.isEmpty()) {
            ShowErrorBox(tooLong, this);
            return;
        }
        // The conversion takes a while: a place it cannot write to is said before it starts.
        if (const Result writable = CheckFileCanBeWritten(fileName); !writable) {
            ShowErrorBox(writable.Message(), this);
            return;
        }
        if (word && ShowMessageBox(BoxKind::Confirmation, wordQuestion,
                                   {BoxButton::Yes, BoxButton::No}, this) != BoxButton::Yes)
            return;
        QList<bool> textColumns;
        const QByteArray source = word ? GridHtml(grid) : GridSpreadsheetCsv(grid, &textColumns);
        QString errorText;
        conversion->SetTimeLimit(OfficeConversion::TimeLimitForRows(grid.RowCount()));
        if (!conversion->Start(word ? OfficeConversion::Target::WordDocument
                                    : OfficeConversion::Target::Spreadsheet,
                               source, textColumns, fileName, &errorText)) {
            ShowErrorBox(errorText, this);
            return;
        }
        // LibreOffice works in the background: the window stays responsive meanwhile.
        ExportBtn->setEnabled(false);
        exportProgress = new QProgressDialog(QStringLiteral("Exportation du journal en cours..."),
                                             QString(), 0, 0, this);
        exportProgress->setObjectName(QStringLiteral("ExportProgress"));
        exportProgress->setWindowTitle(QStringLiteral("Exportation du journal"));
        exportProgress->setCancelButton(nullptr);
        exportProgress->setWindowModality(Qt::WindowModal);
        exportProgress->setMinimumDuration(0);
        exportProgress->setAttribute(Qt::WA_DeleteOnClose);
        MakeRoomForCaption(exportProgress);
        exportProgress->show();
        return;
    }
    }
    QApplication::restoreOverrideCursor();
}

void TJournal::ExportFinished(bool success, const QString& errorText) {
    if (exportProgress)
        exportProgress->close();
    ExportBtn->setEnabled(true);
    if (!success)
        ShowErrorBox(errorText, this);
}
