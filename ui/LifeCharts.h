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

// The number living by age (a line); the probability of death at each age (bars) with the
// mean age at death and one standard deviation either side; the insurer's net income by age
// at death, undiscounted and discounted, with its expected discounted value (EDNI).
//
// The charts are made once and filled afresh for each calculation: only their points,
// ranges and texts change. Whoever shows them owns them (a chart view, or a scene when
// they are painted into a file). A value that is not a finite number is left out of its
// chart and named in a note under the chart's title. Hovering a point shows its age and
// exact value in a tooltip.
class CLifeCharts : public QObject {
    Q_OBJECT
public:
    explicit CLifeCharts(QObject* parent = nullptr);

    QChart* GetLivingChart() const { return m_pLivingChart; }
    QChart* GetDeathChart() const { return m_pDeathChart; }
    QChart* GetNetIncomeChart() const { return m_pNetIncomeChart; }

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

    QChart* m_pLivingChart = nullptr;
    QValueAxis* m_pLivingAges = nullptr;
    QValueAxis* m_pLivingCount = nullptr;
    QLineSeries* m_pLiving = nullptr;

    QChart* m_pDeathChart = nullptr;
    QValueAxis* m_pDeathAges = nullptr;
    QValueAxis* m_pDeathProb = nullptr;
    QBarSet* m_pDeaths = nullptr;
    QLineSeries* m_pMean = nullptr;
    QAreaSeries* m_pSpread = nullptr;

    QChart* m_pNetIncomeChart = nullptr;
    QValueAxis* m_pNetIncomeAges = nullptr;
    QValueAxis* m_pNetIncomeMoney = nullptr;
    QLineSeries* m_pUndiscounted = nullptr;
    QLineSeries* m_pDiscounted = nullptr;
    QScatterSeries* m_pSurvivors = nullptr;
    QLineSeries* m_pEdni = nullptr;
};
