// SPDX-License-Identifier: GPL-3.0-or-later
// The journal view's work after a calculation appends a report (measuring the new lines,
// new scroll sizes, scrolling to the end, painting the rows in sight into an offscreen
// image) for journals of 100 and 1,000,000 lines, a repaint after scrolling to the
// middle, Copy of 1,000,000 selected lines, the print preview of 1,000,000 lines up to its
// first page, and Find through 1,000,000 lines. Runs on Qt's offscreen platform.
#include "BenchSupport.h"

#include "PrintPreview.h"
#include "PrinterPage.h"
#include "TabulonDoc.h"
#include "TabulonView.h"

#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int kIterations = 200;
constexpr std::int64_t kSmallJournal = 100;
constexpr std::int64_t kLargeJournal = 1000000;

// A document holding a journal of the given number of typical lines, and its view, laid out.
struct ViewedJournal {
    explicit ViewedJournal(std::int64_t lines)
        : path(bench::DataFolder() + "/view-" + std::to_string(lines) + ".txt") {
        // The two opening lines of a new journal come first, then the file's lines.
        bench::WriteWholeFile(path, bench::JournalFileText(static_cast<std::size_t>(lines - 2)));
        view = std::make_unique<CTabulonView>(doc);
        view->resize(800, 600);
        view->show();
        QApplication::processEvents();
        Reload();
    }
    ~ViewedJournal() {
        view.reset();
        ::unlink(path.c_str());
    }
    // Back to the journal as read from its file, measured afresh as after File New and Open.
    void Reload() {
        doc.RemoveView(view.get());
        doc.OnNewDocument();
        doc.OnOpenDocument(path);
        doc.AddView(view.get());
        view->OnUpdate(DocumentEvent::Replaced());
    }
    // The rows in sight painted as a paint event paints them.
    double Paint() {
        const bench::Clock::time_point start = bench::Clock::now();
        view->viewport()->render(&image);
        return bench::SecondsSince(start);
    }

    std::string path;
    CTabulonDoc doc;
    std::unique_ptr<CTabulonView> view;
    QImage image{800, 600, QImage::Format_ARGB32_Premultiplied};
};

// A calculation appends its report without the view, then the view is told, as
// UpdateAllViews tells it, and repaints; only the view's part is timed. The small journal
// is reloaded before each append so that it stays small; the large one grows by a few
// percent over the run.
double ViewWorkAfterAppend(ViewedJournal& journal, bool reload) {
    static const PolicyDialogData values = bench::FullReportValues(bench::kPolicies[1], 60);
    if (reload)
        journal.Reload();
    journal.doc.RemoveView(journal.view.get());
    const std::size_t from = journal.doc.GetLines()->GetCount();
    journal.doc.RunCalculation(PolicyKind::Insurance, values);
    journal.doc.AddView(journal.view.get());
    const bench::Clock::time_point start = bench::Clock::now();
    journal.view->OnUpdate(
        DocumentEvent::CalculationAppended(from, journal.doc.GetLines()->GetCount() - from));
    const double update = bench::SecondsSince(start);
    return update + journal.Paint();
}

// Both journals in turn within each iteration, so that they see the same machine; the
// time shown is the large journal's, x_small compares it with the small one's (2 at most
// is the aim: the cost follows the new lines, not the journal).
void BM_ViewAfterAppend(benchmark::State& state) {
    ViewedJournal small(kSmallJournal);
    ViewedJournal large(kLargeJournal);
    double smallSeconds = 0, largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += ViewWorkAfterAppend(small, true);
        const double seconds = ViewWorkAfterAppend(large, false);
        largeSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["small_us"] = smallSeconds / runs * 1e6;
    state.counters["large_us"] = largeSeconds / runs * 1e6;
    state.counters["x_small"] = largeSeconds / smallSeconds;
    state.counters["large_lines"] = static_cast<double>(large.doc.GetLines()->GetCount());
}

// File Open of a journal into a new one: the view measures every line once.
void BM_ViewAfterOpen(benchmark::State& state) {
    ViewedJournal journal(state.range(0));
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        journal.view->OnUpdate(DocumentEvent::Replaced());
        const double update = bench::SecondsSince(start);
        state.SetIterationTime(update + journal.Paint());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Scrolled to the middle of each journal, the whole viewport is painted again.
void BM_RepaintAtMiddle(benchmark::State& state) {
    ViewedJournal small(kSmallJournal);
    ViewedJournal large(kLargeJournal);
    for (ViewedJournal* journal : {&small, &large})
        journal->view->ScrollToPosition(QPoint(0, journal->view->GetTotalSize().height() / 2));
    double smallSeconds = 0, largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += small.Paint();
        const double seconds = large.Paint();
        largeSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["small_us"] = smallSeconds / runs * 1e6;
    state.counters["large_us"] = largeSeconds / runs * 1e6;
    state.counters["x_small"] = largeSeconds / smallSeconds;
}

// Select All and Copy of a 1,000,000-line journal: the text built once and handed to the
// clipboard.
void BM_CopyAll(benchmark::State& state) {
    ViewedJournal journal(kLargeJournal);
    journal.view->OnEditSelectAll();
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        journal.view->OnEditCopy();
        state.SetIterationTime(bench::SecondsSince(start));
    }
    state.SetItemsProcessed(state.iterations() * kLargeJournal);
}

// Print preview of a 1,000,000-line journal, from the command to its first page on the
// screen: arg 0 the standard preview (every page painted into memory first), arg 1 ours
// (the pages in sight only). Peak memory: run one of them alone under /usr/bin/time -v.
void BM_PreviewFirstPage(benchmark::State& state) {
    ViewedJournal journal(kLargeJournal);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const int pages = journal.view->GetPageCount(GeometryOf(printer));
    PrintCommands commands(nullptr, journal.view->GetPageSource());
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        QImage first;
        if (state.range(0) == 0) {
            QPrintPreviewWidget preview(&printer);
            QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                             [&commands](QPrinter* target) { commands.PaintPages(target); });
            preview.resize(800, 600);
            preview.show();
            preview.updatePreview();
            first = preview.grab().toImage();
        } else {
            PrintPreviewDialog preview(&printer, pages, journal.view->GetPageSource().paintPage);
            preview.resize(800, 600);
            preview.show();
            first = preview.findChild<QAbstractScrollArea*>(QStringLiteral("PreviewPages"))
                        ->viewport()
                        ->grab()
                        .toImage();
        }
        state.SetIterationTime(bench::SecondsSince(start));
        benchmark::DoNotOptimize(first);
    }
    state.counters["pages"] = pages;
}

// Find through a 1,000,000-line journal, from the top: arg 0 a text that is nowhere (every
// line searched), arg 1 a text only in the last report's summary (nearly every line
// searched, then the match highlighted and scrolled to). The aim is under 100 ms.
void BM_Find(benchmark::State& state) {
    ViewedJournal journal(kLargeJournal);
    // The journal's reports are all at 5 percent.
    const QString text = QStringLiteral("Discount rate = 9.00 percent");
    if (state.range(0) == 1) {
        // A report at 9 percent joins the end: its summary holds the text.
        PolicyDialogData values = bench::FullReportValues(bench::kPolicies[1], 60);
        values.m_nRate = 9;
        journal.doc.RemoveView(journal.view.get());
        journal.doc.RunCalculation(PolicyKind::Insurance, values);
        journal.doc.AddView(journal.view.get());
        journal.view->OnUpdate(DocumentEvent::Replaced());
    }
    std::int64_t found = -1;
    for (auto _ : state) {
        journal.view->ClearMatch();
        journal.view->ScrollToPosition(QPoint(0, 0));
        const bench::Clock::time_point start = bench::Clock::now();
        found = journal.view->Find(text, true).line;
        state.SetIterationTime(bench::SecondsSince(start));
    }
    state.counters["lines"] = static_cast<double>(journal.doc.GetLines()->GetCount());
    state.counters["found_line"] = static_cast<double>(found);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("ViewAfterAppend", BM_ViewAfterAppend)
        ->UseManualTime()
        ->Iterations(kIterations)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ViewAfterOpen", BM_ViewAfterOpen)
        ->Arg(kLargeJournal)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RepaintAtMiddle", BM_RepaintAtMiddle)
        ->UseManualTime()
        ->Iterations(kIterations)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("CopyAll", BM_CopyAll)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PreviewFirstPage", BM_PreviewFirstPage)
        ->Arg(0)
        ->Arg(1)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Find", BM_Find)
        ->Arg(0)
        ->Arg(1)
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
    return bench::RunRegistered(argc, argv);
}
