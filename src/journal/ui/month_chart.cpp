#include "journal/ui/month_chart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <cmath>
#include <utility>

namespace {
const QColor costColour(31, 111, 178);
const QColor estimateColour(156, 195, 230);
const QColor hoursColour(214, 96, 32);

constexpr int axisSteps = 5;

// The top of an axis of five equal steps of a round size (1, 2, 2.5 or 5 times a power of
// ten) that holds the largest value; both axes share the same grid lines.
double AxisTop(double largest) {
    if (largest <= 0)
        return axisSteps;
    const double least = largest / axisSteps;
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (factor * power >= least)
            return factor * power * axisSteps;
    return 10 * power * axisSteps;
}

void ValueAxisTo(QValueAxis* axis, double largest) {
    axis->setRange(0, AxisTop(largest));
    axis->setTickCount(axisSteps + 1);
    axis->setLabelFormat(
        QStringLiteral("%.%1f").arg(AxisLabelDecimals(AxisTop(largest) / axisSteps)));
}
} // namespace

MonthChart::MonthChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("MonthChart"));
    setRenderHint(QPainter::Antialiasing);
    QChart* shown = chart();
    shown->setAnimationOptions(QChart::NoAnimation);
    shown->legend()->setAlignment(Qt::AlignBottom);
    shown->setMargins(QMargins(4, 4, 4, 4));
    shown->setLocale(QLocale(QLocale::French, QLocale::France)); // the decimal comma
    shown->setLocalizeNumbers(true);

    // Built once: a refresh only changes values, so the chart is not laid out anew.
    cost = new QBarSet(QStringLiteral("Coût"));
    estimate = new QBarSet(QStringLiteral("Estimation fin de mois"));
    cost->setColor(costColour);
    cost->setBorderColor(costColour);
    estimate->setColor(estimateColour);
    estimate->setBorderColor(costColour);
    auto* bars = new QStackedBarSeries;
    bars->append(cost);
    bars->append(estimate);
    bars->setBarWidth(0.7);
    shown->addSeries(bars);

    hours = new QLineSeries;
    hours->setName(QStringLiteral("Temps de connexion (h)"));
    hours->setPen(QPen(hoursColour, 2));
    hours->setPointsVisible(true);
    shown->addSeries(hours);

    months = new QBarCategoryAxis;
    months->setLabelsAngle(-90);
    months->setTruncateLabels(false);
    costAxis = new QValueAxis;
    hoursAxis = new QValueAxis;
    hoursAxis->setTitleText(QStringLiteral("Heures"));
    shown->addAxis(months, Qt::AlignBottom);
    shown->addAxis(costAxis, Qt::AlignLeft);
    shown->addAxis(hoursAxis, Qt::AlignRight);
    bars->attachAxis(months);
    bars->attachAxis(costAxis);
    hours->attachAxis(months);
    hours->attachAxis(hoursAxis);
}

void MonthChart::ShowSeries(const MonthChartSeries& series, const QString& currencyUnit) {
    if (months->categories() != series.labels)
        months->setCategories(series.labels);
    for (const auto& [set, values] : {std::pair{cost, &series.cost}, {estimate, &series.extra}}) {
        if (set->count() != values->size()) {
            set->remove(0, set->count());
            set->append(*values);
            continue;
        }
        for (int i = 0; i < values->size(); ++i)
            if (set->at(i) != values->at(i))
                set->replace(i, values->at(i));
    }
    QList<QPointF> points;
    for (int i = 0; i < series.hours.size(); ++i)
        points.append(QPointF(i, series.hours[i]));
    if (hours->points() != points)
        hours->replace(points);
    costAxis->setTitleText(QStringLiteral("Coût (%1)").arg(currencyUnit));
    ValueAxisTo(costAxis, series.largestCost);
    ValueAxisTo(hoursAxis, series.largestHours);
}

QByteArray MonthChart::PngContents() {
    QByteArray contents;
    QBuffer buffer(&contents);
    buffer.open(QIODevice::WriteOnly);
    grab().save(&buffer, "PNG");
    return contents;
}

QByteArray MonthChart::SvgContents() {
    QByteArray contents;
    QBuffer buffer(&contents);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size());
    generator.setViewBox(rect());
    generator.setTitle(QStringLiteral("Journal"));
    QPainter painter(&generator);
    render(&painter, QRectF(rect()), rect());
    painter.end();
    return contents;
}

bool MonthChart::Print(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    render(&painter, QRectF(0, 0, page.width(), page.height()), rect(), Qt::KeepAspectRatio);
    return painter.end();
}
