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
    axis->setLabelFormat(AxisTop(largest) >= 10 * axisSteps ? QStringLiteral("%.0f")
                                                            : QStringLiteral("%.1f"));
}
} // namespace

MonthChart::MonthChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("MonthChart"));
    setRenderHint(QPainter::Antialiasing);
    chart()->setAnimationOptions(QChart::NoAnimation);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    chart()->setLocale(QLocale(QLocale::French, QLocale::France)); // the decimal comma
    chart()->setLocalizeNumbers(true);
}

void MonthChart::ShowSeries(const MonthChartSeries& series, const QString& currencyUnit) {
    QChart* shown = chart();
    shown->removeAllSeries();
    for (QAbstractAxis* axis : shown->axes()) {
        shown->removeAxis(axis);
        delete axis;
    }

    auto* cost = new QBarSet(QStringLiteral("Coût"));
    auto* estimate = new QBarSet(QStringLiteral("Estimation fin de mois"));
    cost->setColor(costColour);
    cost->setBorderColor(costColour);
    estimate->setColor(estimateColour);
    estimate->setBorderColor(costColour);
    cost->append(series.cost);
    estimate->append(series.extra);
    auto* bars = new QStackedBarSeries;
    bars->append(cost);
    bars->append(estimate);
    bars->setBarWidth(0.7);
    shown->addSeries(bars);

    auto* hours = new QLineSeries;
    hours->setName(QStringLiteral("Temps de connexion (h)"));
    hours->setPen(QPen(hoursColour, 2));
    hours->setPointsVisible(true);
    for (int i = 0; i < series.hours.size(); ++i)
        hours->append(i, series.hours[i]);
    shown->addSeries(hours);

    auto* months = new QBarCategoryAxis;
    months->append(series.labels);
    months->setLabelsAngle(-90);
    months->setTruncateLabels(false);
    auto* costAxis = new QValueAxis;
    costAxis->setTitleText(QStringLiteral("Coût (%1)").arg(currencyUnit));
    ValueAxisTo(costAxis, series.largestCost);
    auto* hoursAxis = new QValueAxis;
    hoursAxis->setTitleText(QStringLiteral("Heures"));
    ValueAxisTo(hoursAxis, series.largestHours);
    shown->addAxis(months, Qt::AlignBottom);
    shown->addAxis(costAxis, Qt::AlignLeft);
    shown->addAxis(hoursAxis, Qt::AlignRight);
    bars->attachAxis(months);
    bars->attachAxis(costAxis);
    hours->attachAxis(months);
    hours->attachAxis(hoursAxis);
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
