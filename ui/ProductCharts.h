// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window's page for a product: its policy value by duration and the survival of
// its life from the issue age.
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

    void Show(const ProductResult& result);

private:
    QChart* m_valueChart = nullptr;
    QValueAxis* m_valueDurations = nullptr;
    QValueAxis* m_valueMoney = nullptr;
    QLineSeries* m_values = nullptr;
    QChart* m_survivalChart = nullptr;
    QValueAxis* m_survivalAges = nullptr;
    QValueAxis* m_survivalShare = nullptr;
    QLineSeries* m_survival = nullptr;
};

// Shows product's charts on pages, adding the page the first time, and returns true; false,
// leaving pages as they are, when product is null (the last calculation was no product).
bool ShowProductPage(QStackedWidget* pages, const ProductResult* product);
