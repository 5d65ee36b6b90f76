// Printing the journal window's tables.
#include "app/application_title.h"
#include "base/clock.h"
#include "base/formats.h"
#include "journal/ui/grid_printer.h"
#include "journal/ui/journal_window.h"
#include "journal/ui/month_chart.h"
#include "journal/ui/print_queue.h"
#include "widgets/message_box.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTabWidget>

void TJournal::Button2Click() {
    if (PageControl1->currentWidget() == TabSheet3) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(ApplicationTitle());
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("PrintDialog1"));
        if (dialog.exec() == QDialog::Accepted && PrintQueueTakesJobs(printer, this))
            ReportPrinting(MonthChartView()->Print(printer), printer);
        return;
    }
    const TCellGrid& grid = PageControl1->currentWidget() == TabSheet2 ? MonthTable : Store.jgrid;
    QPrinter printer(QPrinter::HighResolution);
    PrintGrid(printer, grid);
}

bool TJournal::PrintGrid(QPrinter& printer, const TCellGrid& grid) {
    const QString title = ApplicationTitle();
    printer.setDocName(title);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(false);
    const QString date = DateText(Now().date());
    // Laid out on the printer's own paper, so that the range offered is the job's.
    if (const QPrinterInfo device(printer); !device.isNull())
        printer.setPageSize(device.defaultPageSize());
    const int pageCount = GridPrinter(grid, printer, title, date).PageCount();

    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, pageCount);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, pageCount);
    if (dialog.exec() != QDialog::Accepted || !PrintQueueTakesJobs(printer, this))
        return false;
    // The dialog may have changed the printer or its paper: the pages are laid out again, and
    // a range left ending on the last page still ends on the job's last page.
    GridPrinter job(grid, printer, title, date);
    const bool range = printer.printRange() == QPrinter::PageRange;
    const int lastPage =
        range && printer.toPage() == pageCount ? job.PageCount() : printer.toPage();
    return ReportPrinting(job.Print(ChosenPages(job.PageCount(), range ? printer.fromPage() : 0,
                                                range ? lastPage : 0)),
                          printer);
}

bool TJournal::ReportPrinting(bool printed, const QPrinter& printer) {
    if (printed)
        TellIfPrintQueueIsStopped(printer, this);
    else
        ShowMessageBox(BoxKind::Error, QStringLiteral("L'impression a échoué."), {BoxButton::Ok},
                       this);
    return printed;
}
