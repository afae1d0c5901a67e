// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window: the last accepted calculation as three charts, beside the journal.
#pragma once

#include "ChartSeries.h"
#include "Document.h"

#include <QDockWidget>
#include <QString>

#include <functional>

class LifeCharts;
class TitleLabel;
class PrintCommands;
class CTabulonDoc;
class QAction;
class QPainter;
class QPrinter;
class QStackedWidget;

// A dock window that can stay open beside the journal or float. It follows the document's
// record: after each calculation it shows that calculation's charts, before the first it
// says "No calculation yet". While hidden it only notes that it is out of date and catches
// up when shown, so a calculation costs it nothing then; a chart scrolled out of sight is
// filled when it is next painted. Save Image writes the charts as PNG or SVG; Print and
// Print Preview go through the journal's printer.
class ChartsWindow : public QDockWidget, public CView {
    Q_OBJECT
public:
    // Asks for the image file to write; empty = cancelled.
    using FileChooser = std::function<QString()>;
    // Tells the user about a failure.
    using Warning = std::function<void(const QString& message)>;

    ChartsWindow(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent = nullptr);
    ~ChartsWindow() override;

    void OnUpdate(const DocumentEvent& event) override;

    // Writes the charts to fileName: SVG when the name ends in ".svg", PNG otherwise. The
    // image goes to a temporary file beside the target, renamed over it once complete.
    // False with a sentence naming the file and the reason in error.
    bool SaveImage(const QString& fileName, QString& error);
    // Paints the charts on one page of the printer; returns the pages painted, 0 on failure.
    int OnPrint(QPrinter* printer);

    // The charts on the screen; null until the window has first shown a calculation.
    LifeCharts* GetCharts() const { return m_charts; }

    // Replace the interactions, for tests and scripts.
    void SetFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    void SetWarning(Warning warning) { m_warning = std::move(warning); }

    // The window's width was restored from the settings: its first showing keeps it.
    void KeepRestoredSize() { m_sized = true; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    // A calculation or a product to draw; the charts it has (three, or two for a product).
    bool HoldsCharts() const;
    int ChartCount() const;
    void CreateChartViews();
    // Fills one of the charts from the series, with its title, unless it already is.
    void FillChart(qsizetype index);
    void SaveImageCommand();
    // Paints a fresh set of charts, each size wide and high, one under the other.
    void PaintCharts(QPainter& painter, QSizeF size) const;

    CTabulonDoc& m_doc;
    PrintCommands& m_printCommands;
    ChartSeries m_series;
    bool m_stale = true;
    bool m_sized = false;
    LifeCharts* m_charts = nullptr;
    // Each chart with its title, and the title, in the charts' order.
    QList<QWidget*> m_cards;
    QList<TitleLabel*> m_titles;
    QStackedWidget* m_pages = nullptr;
    QList<QAction*> m_chartCommands;
    FileChooser m_fileChooser;
    Warning m_warning;
};
