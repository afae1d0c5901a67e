// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductCharts.h"

#include "ChartAxisPens.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Lines of text a chart is at least high.
constexpr int kChartLines = 18;

QChart* MakeChart(const char* name, QLineSeries*& series, QValueAxis*& x, QValueAxis*& y) {
    auto* chart = new QChart;
    chart->setObjectName(QString::fromLatin1(name));
    chart->legend()->hide();
    series = new QLineSeries(chart);
    chart->addSeries(series);
    x = new QValueAxis(chart);
    y = new QValueAxis(chart);
    x->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    DrawAxisLinesBySpans(x);
    DrawAxisLinesBySpans(y);
    series->attachAxis(x);
    series->attachAxis(y);
    return chart;
}

// A range that holds low and high and starts at zero when both are of one sign.
void SetRange(QValueAxis* axis, double low, double high) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high <= low)
        high = low + 1.0;
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

} // namespace

ProductCharts::ProductCharts(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProductChartsPage"));
    m_valueChart = MakeChart("PolicyValueChart", m_values, m_valueDurations, m_valueMoney);
    m_valueDurations->setTitleText(tr("Duration (years)"));
    m_valueMoney->setTitleText(tr("Net policy value"));
    m_valueMoney->setLabelFormat(QStringLiteral("%.0f"));
    m_survivalChart =
        MakeChart("ProductSurvivalChart", m_survival, m_survivalAges, m_survivalShare);
    m_survivalAges->setTitleText(tr("Age"));
    m_survivalShare->setTitleText(tr("Probability of survival"));
    m_survivalShare->setLabelFormat(QStringLiteral("%.2f"));
    // The curves of two lives beside the first life's; empty for one life.
    for (QLineSeries** series : {&m_secondSurvival, &m_jointSurvival, &m_lastSurvivor}) {
        *series = new QLineSeries(m_survivalChart);
        m_survivalChart->addSeries(*series);
        (*series)->attachAxis(m_survivalAges);
        (*series)->attachAxis(m_survivalShare);
    }
    m_jointSurvival->setPen(QPen(m_jointSurvival->color(), 2, Qt::DashLine));
    m_lastSurvivor->setPen(QPen(m_lastSurvivor->color(), 2, Qt::DotLine));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QChart* chart : {m_valueChart, m_survivalChart}) {
        auto* view = new QChartView(chart, this);
        view->setObjectName(chart->objectName() + QStringLiteral("View"));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(fontMetrics().height() * kChartLines);
        layout->addWidget(view);
    }
}

void ProductCharts::Show(const ProductResult& result) {
    const QString life =
        result.second
            ? tr("ages %1 and %2").arg(result.life.issueAge).arg(result.second->life.issueAge)
            : tr("age %1, %2 table")
                  .arg(result.life.issueAge)
                  .arg(QString::fromUtf8(result.tableName.c_str()));
    QList<QPointF> values;
    double low = 0.0, high = 0.0;
    for (std::size_t t = 0; t < result.value.policyValues.size(); ++t) {
        const double value = result.value.policyValues[t];
        if (!std::isfinite(value))
            continue;
        values << QPointF(static_cast<double>(t), value);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    m_values->replace(values);
    m_valueDurations->setRange(0, std::max<qsizetype>(1, values.size() - 1));
    SetRange(m_valueMoney, low, high);
    m_valueChart->setTitle(tr("Policy value by duration (%1)").arg(life));

    if (result.second) {
        ShowTwoLives(result);
        return;
    }
    QList<QPointF> survival;
    for (std::size_t t = 0; t < result.survival.size(); ++t)
        survival << QPointF(static_cast<double>(result.life.issueAge) + static_cast<double>(t),
                            result.survival[t]);
    m_survival->replace(survival);
    for (QLineSeries* series : {m_secondSurvival, m_jointSurvival, m_lastSurvivor})
        series->clear();
    m_survivalChart->legend()->hide();
    m_survivalAges->setTitleText(tr("Age"));
    m_survivalAges->setRange(result.life.issueAge,
                             result.life.issueAge + std::max<qsizetype>(1, survival.size() - 1));
    m_survivalShare->setRange(0.0, 1.0);
    m_survivalChart->setTitle(tr("Survival from the issue age (%1)").arg(life));
}

void ProductCharts::ShowTwoLives(const ProductResult& result) {
    // By duration: the two lives' ages differ.
    QList<QPointF> first, second, joint, last;
    for (std::size_t t = 0; t < result.survival.size(); ++t) {
        const double x = result.survival[t];
        const double y = result.secondSurvival[t];
        const double duration = static_cast<double>(t);
        first << QPointF(duration, x);
        second << QPointF(duration, y);
        joint << QPointF(duration, x * y);
        last << QPointF(duration, x + y - x * y);
    }
    m_survival->replace(first);
    m_secondSurvival->replace(second);
    m_jointSurvival->replace(joint);
    m_lastSurvivor->replace(last);
    m_survival->setName(tr("tpx (first life)"));
    m_secondSurvival->setName(tr("tpy (second)"));
    m_jointSurvival->setName(tr("tpxy (both)"));
    m_lastSurvivor->setName(tr("last survivor"));
    m_survivalChart->legend()->show();
    m_survivalChart->legend()->setAlignment(Qt::AlignBottom);
    m_survivalAges->setTitleText(tr("Duration (years)"));
    m_survivalAges->setRange(0, std::max<qsizetype>(1, first.size() - 1));
    m_survivalShare->setRange(0.0, 1.0);
    m_survivalChart->setTitle(tr("Survival of two lives (ages %1 and %2, %3 and %4 tables)")
                                  .arg(result.life.issueAge)
                                  .arg(result.second->life.issueAge)
                                  .arg(QString::fromUtf8(result.tableName.c_str()),
                                       QString::fromUtf8(result.secondTableName.c_str())));
}

bool ShowProductPage(QStackedWidget* pages, const ProductResult* product) {
    if (!product)
        return false;
    auto* page = pages->findChild<ProductCharts*>();
    if (!page) {
        page = new ProductCharts(pages);
        pages->addWidget(page);
    }
    page->Show(*product);
    pages->setCurrentWidget(page);
    return true;
}
