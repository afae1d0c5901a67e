// SPDX-License-Identifier: GPL-3.0-or-later
// The three charts of one calculation, drawn with Qt Charts from its series.
#pragma once

#include "ChartSeries.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QAreaSeries;
class QBarSet;
class QChart;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The number living by age (a line); the distribution of the age at death (bars) with the
// mean age at death and one standard deviation either side; the insurer's net income by age
// at death, undiscounted and discounted, with its expected discounted value (EDNI).
//
// The charts are made once and filled afresh for each calculation: only their points,
// ranges and texts change. Whoever shows them owns them (a chart view, or a scene when
// they are painted into a file). A value that is not a finite number is left out of its
// chart and named in a note under the chart's title. Hovering a point shows its age and
// value in a tooltip, rounded as the report prints it.
class LifeCharts : public QObject {
    Q_OBJECT
public:
    explicit LifeCharts(QObject* parent = nullptr);

    QChart* GetLivingChart() const { return m_livingChart; }
    QChart* GetDeathChart() const { return m_deathChart; }
    QChart* GetNetIncomeChart() const { return m_netIncomeChart; }

    void Show(const ChartSeries& series);

    // The calculation in words, on two lines: the policy and table, then the age, the term
    // where the policy has one, and the rate.
    static QStringList Describe(const ChartSeries& series);

private:
    void CreateLivingChart();
    void CreateDeathChart();
    void CreateNetIncomeChart();
    void ShowLiving();
    void ShowDeaths();
    void ShowNetIncome();
    void ShowToolTip(bool state, const QString& text);
    QString Title(const QString& name, const QStringList& notes,
                  const QString& figures = QString()) const;

    ChartSeries m_series;
    QStringList m_description;

    QChart* m_livingChart = nullptr;
    QValueAxis* m_livingAges = nullptr;
    QValueAxis* m_livingCount = nullptr;
    QLineSeries* m_living = nullptr;

    QChart* m_deathChart = nullptr;
    QValueAxis* m_deathAges = nullptr;
    QValueAxis* m_deathProb = nullptr;
    QBarSet* m_deaths = nullptr;
    QLineSeries* m_mean = nullptr;
    QAreaSeries* m_spread = nullptr;

    QChart* m_netIncomeChart = nullptr;
    QValueAxis* m_netIncomeAges = nullptr;
    QValueAxis* m_netIncomeMoney = nullptr;
    QLineSeries* m_undiscounted = nullptr;
    QLineSeries* m_discounted = nullptr;
    QScatterSeries* m_survivorsUndiscounted = nullptr;
    QScatterSeries* m_survivorsDiscounted = nullptr;
    QLineSeries* m_edni = nullptr;
};
