// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window's page for a product: its policy value by duration and the survival of
// its life from the issue age; for two lives, the survival of each, of both and of either by
// duration.
#pragma once

#include "ProductRun.h"

#include <QWidget>

class QChart;
class QLineSeries;
class QStackedWidget;
class QValueAxis;

// Two charts, one under the other, filled afresh for each product: only their points,
// ranges and titles change. The page is "ProductChartsPage", its charts "PolicyValueChart"
// and "ProductSurvivalChart".
class ProductCharts : public QWidget {
    Q_OBJECT
public:
    explicit ProductCharts(QWidget* parent = nullptr);

    QChart* GetPolicyValueChart() const { return m_valueChart; }
    QChart* GetSurvivalChart() const { return m_survivalChart; }
    QLineSeries* GetPolicyValues() const { return m_values; }
    QLineSeries* GetSurvival() const { return m_survival; }
    // Two lives only (empty for one): tp_y, tp_xy and the last survivor's tp_x + tp_y - tp_xy.
    QLineSeries* GetSecondSurvival() const { return m_secondSurvival; }
    QLineSeries* GetJointSurvival() const { return m_jointSurvival; }
    QLineSeries* GetLastSurvivor() const { return m_lastSurvivor; }

    void Show(const ProductResult& result);

private:
    void ShowTwoLives(const ProductResult& result);

    QChart* m_valueChart = nullptr;
    QValueAxis* m_valueDurations = nullptr;
    QValueAxis* m_valueMoney = nullptr;
    QLineSeries* m_values = nullptr;
    QChart* m_survivalChart = nullptr;
    QValueAxis* m_survivalAges = nullptr;
    QValueAxis* m_survivalShare = nullptr;
    QLineSeries* m_survival = nullptr;
    QLineSeries* m_secondSurvival = nullptr;
    QLineSeries* m_jointSurvival = nullptr;
    QLineSeries* m_lastSurvivor = nullptr;
};

// Shows product's charts on pages, adding the page the first time, and returns true; false,
// leaving pages as they are, when product is null (the last calculation was no product).
bool ShowProductPage(QStackedWidget* pages, const ProductResult* product);
