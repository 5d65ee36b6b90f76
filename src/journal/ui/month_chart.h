#pragma once

#include "journal/month_chart_series.h"

#include <QByteArray>
#include <QChartView>

class QBarCategoryAxis;
class QBarSet;
class QLineSeries;
class QPrinter;
class QValueAxis;

// The "Graphique" page's chart: the cost of each month as bars on the left axis, the current
// month's estimate stacked on it in a lighter colour, the connected hours as a line on the
// right axis.
class MonthChart : public QChartView {
  public:
    explicit MonthChart(QWidget* parent = nullptr);

    void ShowSeries(const MonthChartSeries& series, const QString& currencyUnit);

    // The chart as it stands on screen, as PNG or SVG file contents.
    QByteArray PngContents();
    QByteArray SvgContents();
    // The chart on one page, as large as the page allows.
    bool Print(QPrinter& printer);

  private:
    QBarSet* cost = nullptr;
    QBarSet* estimate = nullptr; // stacked on the current month's cost, lighter
    QLineSeries* hours = nullptr;
    QBarCategoryAxis* months = nullptr;
    QValueAxis* costAxis = nullptr;
    QValueAxis* hoursAxis = nullptr;
};
