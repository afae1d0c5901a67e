// SPDX-License-Identifier: GPL-3.0-or-later
// The three charts of one calculation, drawn with Qt Charts from its series.
#pragma once

#include "ChartSeries.h"
#include "ChartTitle.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

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
// they are painted into a file) and draws each one's title above it, where changing it
// does not lay out the chart again. A value that is not a finite number is left out of its
// chart and named in a note in its title. Hovering a point shows its age and value in a
// tooltip, rounded as the report prints it.
class LifeCharts : public QObject {
    Q_OBJECT
public:
    explicit LifeCharts(QObject* parent = nullptr);

    QChart* GetLivingChart() const { return m_livingChart; }
    QChart* GetDeathChart() const { return m_deathChart; }
    QChart* GetNetIncomeChart() const { return m_netIncomeChart; }
    // The three, in that order.
    QList<QChart*> GetCharts() const { return {m_livingChart, m_deathChart, m_netIncomeChart}; }
    // A chart's title: its name, the calculation and its own figures, then its notes.
    // Empty for a chart not of this set.
    ChartTitle GetTitle(const QChart* chart) const;

    // Fills the three charts from a calculation's series.
    void Show(const ChartSeries& series);
    // Takes a calculation's series without filling any chart; Fill then fills one chart
    // (once: a filled chart stays as it is until the next series).
    void SetSeries(const ChartSeries& series);
    void Fill(const QChart* chart);
    bool IsFilled(const QChart* chart) const;

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
    ChartTitle Title(const QString& name, const QStringList& notes,
                     const QString& figures = QString()) const;

    ChartSeries m_series;
    QStringList m_description;
    // Which of the three charts show m_series, in their order.
    std::array<bool, 3> m_filled{};
    ChartTitle m_livingTitle;
    ChartTitle m_deathTitle;
    ChartTitle m_netIncomeTitle;

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
