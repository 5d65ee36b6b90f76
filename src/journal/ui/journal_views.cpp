// The journal window's pages, totals panel and the rebuild of its views.
#include "base/clock.h"
#include "journal/journal_summary.h"
#include "journal/month_chart_series.h"
#include "journal/month_estimate.h"
#include "journal/office_conversion.h"
#include "journal/ui/grid_table_model.h"
#include "journal/ui/journal_table_style.h"
#include "journal/ui/journal_window.h"
#include "journal/ui/month_chart.h"
#include "widgets/tform1.h"
#include "widgets/window_list.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

namespace {
template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QTableView* PageTable(QWidget* page, const char* name, QAbstractItemModel* model,
                      const QColor& firstBand) {
    auto* view = Named(new QTableView(page), name);
    view->setModel(model);
    StyleJournalTable(view, firstBand);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    return view;
}

// The hourglass for the time of a rebuild, back to normal however it ends.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

void TJournal::BuildPages() {
    // No minimise box (see KeepModalWindowsRestored); window managers that take Motif hints
    // drop it.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(792, 573);
    summary = new JournalSummary(Store, MonthTable, this);
    conversion = new OfficeConversion(this);
    connect(conversion, &OfficeConversion::Finished, this, &TJournal::ExportFinished);

    detailModel = new GridTableModel(Store.jgrid, JournalTableFont(), JournalStore::Cout, -1, this);
    monthModel = new GridTableModel(MonthTable, JournalTableFont(), 4, 0, this);
    vgrid = PageTable(TabSheet1, "vgrid", detailModel,
                      QToolTip::palette().color(QPalette::ToolTipBase));
    mgrid = PageTable(TabSheet2, "mgrid", monthModel, QColor(240, 251, 255));
    // The chart is made when the window first shows it (MonthChartView).
    auto* chartLayout = new QVBoxLayout(TabSheet3);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    // Showing either page rebuilds the views.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (isVisible())
            RefreshJournalViews();
    });
}

MonthChart* TJournal::MonthChartView() {
    // Made when first needed: the charts library costs every run memory at its first chart.
    if (!Chart) {
        Chart = new MonthChart(TabSheet3);
        TabSheet3->layout()->addWidget(Chart);
    }
    return Chart;
}

void TJournal::ReleaseViews() {
    vgrid->setModel(nullptr);
    mgrid->setModel(nullptr);
    delete detailModel;
    delete monthModel;
    detailModel = monthModel = nullptr;
}

QWidget* TJournal::BuildBottomPanel() {
    auto* panel = Named(new QWidget(this), "Panel1");
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* totals = new QGridLayout;
    totals->setHorizontalSpacing(8);
    const auto label = [panel](const char* name, const QString& text) {
        return Named(new QLabel(text, panel), name);
    };
    Label1 = label("Label1", QStringLiteral("Temps total :"));
    Label2 = label("Label2", QStringLiteral("Coût total :"));
    Label5 = label("Label5", QStringLiteral("Total reçu :"));
    Label6 = label("Label6", QStringLiteral("Total envoyé :"));
    Label3 = label("Label3", QString());
    Label4 = label("Label4", QString());
    Label7 = label("Label7", QString());
    Label8 = label("Label8", QString());
    Label4->setStyleSheet(QStringLiteral("color: red;"));
    for (QLabel* value : {Label3, Label4, Label7, Label8})
        value->setMinimumWidth(90);
    totals->addWidget(Label1, 0, 0);
    totals->addWidget(Label3, 0, 1);
    totals->addWidget(Label2, 1, 0);
    totals->addWidget(Label4, 1, 1);
    totals->addWidget(Label5, 0, 2);
    totals->addWidget(Label7, 0, 3);
    totals->addWidget(Label6, 1, 2);
    totals->addWidget(Label8, 1, 3);
    EstimateLabel = label("EstimateLabel", QString());
    totals->addWidget(EstimateLabel, 2, 0, 1, 4);
    layout->addLayout(totals);
    layout->addStretch();

    const auto button = [panel](const char* name, const QString& text) {
        auto* created = Named(new QPushButton(text, panel), name);
        created->setAutoDefault(false);
        return created;
    };
    Button2 = button("Button2", QStringLiteral("Imprimer..."));
    ExportBtn = button("ExportBtn", QStringLiteral("Exporter..."));
    Button1 = button("Button1", QStringLiteral("Effacer le journal..."));
    BitBtn1 = button("BitBtn1", QStringLiteral("Fermer"));
    for (QPushButton* each : {Button2, ExportBtn, Button1, BitBtn1})
        layout->addWidget(each);
    connect(Button2, &QPushButton::clicked, this, &TJournal::Button2Click);
    connect(ExportBtn, &QPushButton::clicked, this, &TJournal::ExportBtnClick);
    connect(Button1, &QPushButton::clicked, this, &TJournal::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TJournal::BitBtn1Click);
    return panel;
}

void TJournal::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    RefreshJournalViews();
    FollowDayChange();
}

// The month-end estimate and the chart's current month follow the calendar: a window left
// open past midnight shows the new day's figures, and the new month's.
void TJournal::FollowDayChange() {
    const QDateTime now = Now();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    dayChange->start(std::chrono::milliseconds(now.msecsTo(midnight) + 1000));
}

QString TJournal::CurrencyUnit() const {
    return Form1 ? Form1->CurrEdit->text() : QStringLiteral("F");
}

void TJournal::Button1Click() {
    ClearJournal();
}

void TJournal::BitBtn1Click() {
    close();
}

void TJournal::RefreshJournalViews() {
    // A hidden window's views are rebuilt when it is shown: only the journal's repeated rows
    // go now, before the save that follows a session.
    if (!isVisible()) {
        if (summary->RemoveRepeatedRows() > 0)
            widestText.clear();
        return;
    }
    {
        WaitCursor hourglass;
        const QString unit = CurrencyUnit();
        const JournalSummary::Outcome outcome = summary->Refresh(unit);
        if (outcome.rowsRemoved)
            widestText.clear();
        if (outcome.totalsRead) {
            const JournalTotalsTexts texts = TotalsTexts(summary->Totals(), unit);
            Label3->setText(texts.duration);
            Label4->setText(texts.cost);
            Label7->setText(texts.received);
            Label8->setText(texts.sent);
            FitMonthColumns();
            ShowMonthEstimateAndChart(unit);
        }
        if (outcome.complete) {
            if (widestText.size() != Store.jgrid.ColCount())
                FitColumns(Store.jgrid.RowCount() - 1);
            for (int col = 0; col < Store.ColumnWidths.size(); ++col)
                vgrid->setColumnWidth(col, Store.ColumnWidths[col]);
            ScrollToLastRows();
        }
    }
    const bool printers = !QPrinterInfo::availablePrinterNames().isEmpty();
    Button2->setEnabled(printers);
    // A greyed button does not say why.
    Button2->setToolTip(printers ? QString()
                                 : QStringLiteral("Aucune imprimante n'est installée."));
}

void TJournal::ShowMonthEstimateAndChart(const QString& currencyUnit) {
    const QDateTime now = Now();
    const JournalSums month =
        CalendarMonthSums(summary->Groups(), now.date().year(), now.date().month());
    MonthEstimateInput input{now, 1, month.seconds, month.cost};
    if (Form1 && Form1->SessionActive) {
        input.sessionSeconds = Form1->Session.elapsed;
        input.sessionCost = Form1->SessionCost;
    }
    const MonthEstimate estimate = EstimateMonthEnd(input);
    EstimateLabel->setText(MonthEstimateText(estimate, currencyUnit));
    MonthChartView()->ShowSeries(BuildMonthChartSeries(summary->Groups(), now.date(), estimate),
                                 currencyUnit);
}

void TJournal::FitMonthColumns() {
    for (int col = 0; col < MonthTable.ColCount(); ++col) {
        int widest = 0;
        for (int row = 0; row < MonthTable.RowCount(); ++row)
            widest = std::max(widest, TextWidth(MonthTable.Cells(col, row)));
        mgrid->setColumnWidth(col, widest + JournalColumnMargin);
    }
}

void TJournal::ScrollToLastRows() {
    // Once the views have laid out their new rows, the last ones are brought into view.
    for (QTableView* view : {vgrid, mgrid}) {
        view->scrollToBottom();
        QTimer::singleShot(0, view, [view] { view->scrollToBottom(); });
    }
}
