// SPDX-License-Identifier: GPL-3.0-or-later
// The journal view: layout and drawing of the rows, scrolling to the end after every
// change, selecting lines, the keys, very long lines, and printing into pages.
#include "DocManager.h"
#include "GuiTestMain.h"
#include "LineText.h"
#include "PrinterPage.h"
#include "ShellTestSupport.h"
#include "TabulonView.h"

#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>

using namespace shell_test;

class TestTabulonView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void OpeningLinesStartAtTheMarginAndTheSecondIsIndentedFourCells();
    void RunThatOverflowsLeavesTheLastLineInSight();
    void AppendKeepsTheWidestLineAndNewMeasuresAfresh();
    void NewAfterAOneLineJournalForgetsItsWidth();
    void WidthIsTheWidestLineAsTheFontMeasuresIt_data();
    void WidthIsTheWidestLineAsTheFontMeasuresIt();
    void LinesShowAsUtf8WhenValidElseLatin1_data();
    void LinesShowAsUtf8WhenValidElseLatin1();
    void EmptyJournalIsFourCharactersWideAndPrintsOneBlankPage();
    void PageCountAtTheExactPageBoundaryAndOnePixelPast_data();
    void PageCountAtTheExactPageBoundaryAndOnePixelPast();
    void PrintedPagesHoldEveryLine();
    void MouseSelectsByClickDragAndShiftClick();
    void DragBelowTheViewScrollsAndExtends();
    void ShiftKeysExtendTheSelection_data();
    void ShiftKeysExtendTheSelection();
    void SelectionSurvivesAppendsAndIsPaintedHighlighted();
    void HomeEndAndControlHomeEndScroll();
    void TenMillionCharacterLineScrollsAndStaysInItsRow();

private:
    // A view of 400 x 300 on a journal of lines "line 0", "line 1", ..., shown, scrolled to
    // the top.
    void ShowNumberedLines(CTabulonDoc& doc, CTabulonView& view, int count);

    QTemporaryDir m_settings;
    QTemporaryDir m_files;
};

namespace {

// The first column from the left with a dark pixel within the given rows of the image.
int FirstInkColumn(const QImage& image, int top, int bottom) {
    for (int x = 0; x < image.width(); ++x)
        for (int y = top; y < bottom && y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

QImage Render(CTabulonView& view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    view.viewport()->render(&image);
    return image;
}

// A PDF printer at 72 dots per inch, so that a point is a pixel, with no margins.
void SetUpPdf(QPrinter& printer, const QString& path, int pageHeightPoints) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(72);
    printer.setPageSize(
        QPageSize(QSize(600, pageHeightPoints), QStringLiteral("Test"), QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

} // namespace

void TestTabulonView::OpeningLinesStartAtTheMarginAndTheSecondIsIndentedFourCells() {
    CTabulonDoc doc;
    CTabulonView view(doc);
    view.resize(600, 200);
    doc.OnNewDocument();
    const ViewLayout& layout = view.GetLayout();
    const int pitch = layout.GetPitch();
    const QImage image = Render(view);
    const int cell = QFontMetrics(view.GetJournalFont()).horizontalAdvance(QLatin1Char(' '));
    const int firstRow = FirstInkColumn(image, 0, pitch);
    const int secondRow = FirstInkColumn(image, pitch, 2 * pitch);
    // "L" and "T" start with ink in their first pixel column or very close to it.
    QVERIFY2(firstRow >= layout.GetLeftMargin() && firstRow <= layout.GetLeftMargin() + 2,
             qPrintable(QString::number(firstRow)));
    QVERIFY2(secondRow >= firstRow + 4 * cell - 1 && secondRow <= firstRow + 4 * cell + 2,
             qPrintable(QStringLiteral("%1 vs %2").arg(secondRow).arg(firstRow)));
    QCOMPARE(FirstInkColumn(image, 2 * pitch, image.height()), -1);
}

void TestTabulonView::RunThatOverflowsLeavesTheLastLineInSight() {
    CTabulonDoc doc;
    CTabulonView view(doc);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    doc.OnNewDocument();
    doc.RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
    const std::int64_t lines = static_cast<std::int64_t>(doc.GetLines()->GetCount());
    QVERIFY(lines > 100);
    QScrollBar* bar = view.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    const std::int64_t lastTop = view.GetLayout().GetRowTop(lines - 1) - bar->value();
    QVERIFY(lastTop >= 0);
    QVERIFY(lastTop + view.GetLayout().GetPitch() <= view.viewport()->height());
    QCOMPARE(view.GetLayout().GetLineCount(), static_cast<std::size_t>(lines));
    // The page keys scroll back by a viewport.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_PageUp);
    QCOMPARE(bar->value(), bar->maximum() - view.viewport()->height());
}

void TestTabulonView::AppendKeepsTheWidestLineAndNewMeasuresAfresh() {
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    files.SetSavePrompt([](const QString&) { return CDocManager::SaveAnswer::Discard; });
    files.FileNew();
    const std::int64_t openingWidth = view.GetLayout().GetTotalSize().cx;
    doc.RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
    const std::int64_t reportWidth = view.GetLayout().GetTotalSize().cx;
    QVERIFY(reportWidth > openingWidth);
    QCOMPARE(view.GetTotalSize().width(), static_cast<int>(reportWidth));
    // A New after the report gives the two opening lines back their own width.
    files.FileNew();
    QCOMPARE(view.GetLayout().GetTotalSize().cx, openingWidth);
    QCOMPARE(view.GetLayout().GetLineCount(), std::size_t{2});
}

void TestTabulonView::NewAfterAOneLineJournalForgetsItsWidth() {
    const QString wide = m_files.filePath(QStringLiteral("wide.txt"));
    WriteFile(wide, QByteArray(300, 'w') + "\r\n");
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    QVERIFY(files.OpenDocumentFile(wide));
    const std::int64_t wideWidth = view.GetLayout().GetTotalSize().cx;
    QVERIFY(files.FileNew());
    QVERIFY(view.GetLayout().GetTotalSize().cx < wideWidth / 2);
}

void TestTabulonView::WidthIsTheWidestLineAsTheFontMeasuresIt_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("blanks and digits") << QByteArray("    1\r\n12345678901234567890\r\n  x  \r\n");
    QTest::newRow("same length, different letters") << QByteArray("iiiiiiiiii\r\nWWWWWWWWWW\r\n");
    // Past a new journal's few lines, lines of one length share a width where the font allows.
    QTest::newRow("many lines, then different letters")
        << QByteArray("0123456789\r\n").repeated(40) + "iiiiiiiiii\r\nWWWWWWWWWW\r\n  \xc3\xa4\r\n";
    QTest::newRow("accented and tab")
        << QByteArray("Pr\xc3\xa4mie \xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\r\na\tb\r\nPr\xe4mie\r\n");
}

void TestTabulonView::WidthIsTheWidestLineAsTheFontMeasuresIt() {
    QFETCH(QByteArray, text);
    const QString path = m_files.filePath(QStringLiteral("widths.txt"));
    WriteFile(path, text);
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    QVERIFY(files.OpenDocumentFile(path));
    const QFontMetrics metrics(view.GetJournalFont(), &view);
    int widest = 0;
    const CStringList& lines = *doc.GetLines();
    for (std::size_t i = 0; i < lines.GetCount(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(JournalLineText(lines.GetAt(i))));
    QCOMPARE(view.GetLayout().GetTotalSize().cx, widest + 4 * metrics.averageCharWidth());
}

void TestTabulonView::LinesShowAsUtf8WhenValidElseLatin1_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("Age at death") << QStringLiteral("Age at death");
    QTest::newRow("utf-8") << QByteArray("Prämie") << QStringLiteral("Pr\u00e4mie");
    QTest::newRow("latin-1") << QByteArray("Pr\xe4mie") << QStringLiteral("Pr\u00e4mie");
    QTest::newRow("truncated utf-8") << QByteArray("x\xc3") << QStringLiteral("x\u00c3");
}

void TestTabulonView::LinesShowAsUtf8WhenValidElseLatin1() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(JournalLineText(std::string_view(bytes.constData(), bytes.size())), shown);
}

void TestTabulonView::EmptyJournalIsFourCharactersWideAndPrintsOneBlankPage() {
    const QString empty = m_files.filePath(QStringLiteral("empty.txt"));
    WriteFile(empty, {});
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    QVERIFY(files.OpenDocumentFile(empty));
    QCOMPARE(view.GetLayout().GetTotalSize().cx, 4 * view.GetLayout().GetCharWidth());
    QCOMPARE(view.GetLayout().GetTotalSize().cy, std::int64_t{0});
    const QImage image = Render(view);
    QCOMPARE(FirstInkColumn(image, 0, image.height()), -1);

    QPrinter printer;
    const QString pdf = m_files.filePath(QStringLiteral("empty.pdf"));
    SetUpPdf(printer, pdf, 792);
    QCOMPARE(view.GetPageCount(GeometryOf(printer)), 1);
    QCOMPARE(PrintCommands(nullptr, view.GetPageSource()).PaintPages(&printer), 1);
    if (HavePoppler())
        QCOMPARE(PdfPageCount(pdf), 1);
}

void TestTabulonView::PageCountAtTheExactPageBoundaryAndOnePixelPast_data() {
    QTest::addColumn<int>("shortenPageBy");
    QTest::addColumn<int>("pages");
    QTest::newRow("journal exactly one page high") << 0 << 1;
    QTest::newRow("journal one pixel higher than the page") << 1 << 2;
}

void TestTabulonView::PageCountAtTheExactPageBoundaryAndOnePixelPast() {
    QFETCH(int, shortenPageBy);
    QFETCH(int, pages);
    // 100 lines are 100 pitches, which at 72 dpi are exactly 72 pitches of printer pixels.
    QByteArray text;
    for (int i = 0; i < 100; ++i)
        text += "line " + QByteArray::number(i) + "\r\n";
    const QString journal = m_files.filePath(QStringLiteral("hundred.txt"));
    WriteFile(journal, text);
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    QVERIFY(files.OpenDocumentFile(journal));
    const int pageHeight = 72 * view.GetLayout().GetPitch() - shortenPageBy;

    QPrinter printer;
    const QString pdf = m_files.filePath(QStringLiteral("boundary.pdf"));
    SetUpPdf(printer, pdf, pageHeight);
    QCOMPARE(printer.pageLayout().paintRectPixels(printer.resolution()).height(), pageHeight);
    QCOMPARE(view.GetPageCount(GeometryOf(printer)), pages);
    QCOMPARE(PrintCommands(nullptr, view.GetPageSource()).PaintPages(&printer), pages);
    if (HavePoppler())
        QCOMPARE(PdfPageCount(pdf), pages);
}

void TestTabulonView::PrintedPagesHoldEveryLine() {
    if (!HavePoppler())
        QSKIP("pdftotext (poppler-utils) is not installed");
    CTabulonDoc doc;
    CTabulonView view(doc);
    doc.OnNewDocument();
    doc.RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = m_files.filePath(QStringLiteral("report.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const int pages = PrintCommands(nullptr, view.GetPageSource()).PaintPages(&printer);
    QVERIFY(pages > 1);
    const QString text = PopplerOutput(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                             .simplified();
    const CStringList& lines = *doc.GetLines();
    for (std::size_t i = 0; i < lines.GetCount(); ++i) {
        const QString line = JournalLineText(lines.GetAt(i)).simplified();
        QVERIFY2(text.contains(line), qPrintable(line));
    }
}

void TestTabulonView::ShowNumberedLines(CTabulonDoc& doc, CTabulonView& view, int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "line " + QByteArray::number(i) + "\r\n";
    const QString path = m_files.filePath(QStringLiteral("numbered.txt"));
    WriteFile(path, text);
    doc.OnOpenDocument(path.toStdString()); // the file's lines, after the opening two
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.ScrollToPosition(QPoint(0, 0));
    view.setFocus();
}

namespace {
// The centre of row i of the view, in viewport coordinates.
QPoint RowCentre(const CTabulonView& view, std::int64_t row) {
    const int pitch = view.GetLayout().GetPitch();
    return {50, static_cast<int>(row * pitch + pitch / 2) - view.verticalScrollBar()->value()};
}

std::pair<std::int64_t, std::int64_t> Selected(const CTabulonView& view) {
    const ViewLayout::LineRange lines = view.GetSelection().GetLines();
    return {lines.first, lines.last};
}
} // namespace

void TestTabulonView::MouseSelectsByClickDragAndShiftClick() {
    CTabulonDoc doc;
    CTabulonView view(doc);
    ShowNumberedLines(doc, view, 20);
    QWidget* port = view.viewport();
    QTest::mouseClick(port, Qt::LeftButton, {}, RowCentre(view, 3));
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{3}, std::int64_t{3}));
    // A drag upwards selects from where it began to where it is.
    QTest::mousePress(port, Qt::LeftButton, {}, RowCentre(view, 6));
    QMouseEvent move(QEvent::MouseMove, RowCentre(view, 4), port->mapToGlobal(RowCentre(view, 4)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &move);
    QTest::mouseRelease(port, Qt::LeftButton, {}, RowCentre(view, 4));
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{4}, std::int64_t{6}));
    // Shift+click moves the end and keeps the start.
    QTest::mouseClick(port, Qt::LeftButton, Qt::ShiftModifier, RowCentre(view, 9));
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{6}, std::int64_t{9}));
    // Each line ended by a line feed.
    QCOMPARE(view.GetSelectedText(), QStringLiteral("line 6\nline 7\nline 8\nline 9\n"));
    // A click below the last line selects the last line.
    QTest::mouseClick(port, Qt::LeftButton, {}, QPoint(50, port->height() - 2));
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{19}, std::int64_t{19}));
}

void TestTabulonView::DragBelowTheViewScrollsAndExtends() {
    CTabulonDoc doc;
    CTabulonView view(doc);
    ShowNumberedLines(doc, view, 500);
    QWidget* port = view.viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, RowCentre(view, 1));
    const QPoint below(50, port->height() + 40);
    QMouseEvent move(QEvent::MouseMove, below, port->mapToGlobal(below), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &move);
    QTRY_VERIFY(view.verticalScrollBar()->value() > 3 * port->height());
    QTest::mouseRelease(port, Qt::LeftButton, {}, below);
    const int stopped = view.verticalScrollBar()->value();
    QTest::qWait(150);
    QCOMPARE(view.verticalScrollBar()->value(), stopped);
    // The selection reaches the row under the mouse.
    QCOMPARE(Selected(view).first, std::int64_t{1});
    QCOMPARE(Selected(view).second, view.GetLayout().GetLineAt(stopped + below.y()));
}

void TestTabulonView::ShiftKeysExtendTheSelection_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    // 300 px high: 300 / pitch whole rows make a page; the top row in sight is line 0.
    QTest::newRow("down starts at the top row") << QList<int>{Qt::Key_Down} << 0LL << 0LL;
    QTest::newRow("down, down, up")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << 0LL << 1LL;
    QTest::newRow("up at the top stays on line 0")
        << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Up} << 0LL << 0LL;
    QTest::newRow("page down selects a page") << QList<int>{Qt::Key_PageDown} << 0LL << -1LL;
    QTest::newRow("page down past the end clamps")
        << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown} << 0LL
        << 39LL;
    // A key with the Control modifier is given combined with it.
    const int controlHome = (Qt::ControlModifier | Qt::Key_Home).toCombined();
    const int controlEnd = (Qt::ControlModifier | Qt::Key_End).toCombined();
    QTest::newRow("control end extends to the last line") << QList<int>{controlEnd} << 0LL << 39LL;
    QTest::newRow("control home extends back to the first line")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, controlEnd, controlHome} << 0LL << 0LL;
}

void TestTabulonView::ShiftKeysExtendTheSelection() {
    QFETCH(QList<int>, keys);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    CTabulonDoc doc;
    CTabulonView view(doc);
    ShowNumberedLines(doc, view, 40);
    for (int key : keys)
        QTest::keyClick(&view, Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::ShiftModifier | Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    if (last < 0) // a page: the whole rows in sight
        last = view.viewport()->height() / view.GetLayout().GetPitch() - 1;
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{first}, std::int64_t{last}));
    // The caret row is in sight.
    const std::int64_t caretTop =
        view.GetLayout().GetRowTop(view.GetSelection().caret) - view.verticalScrollBar()->value();
    QVERIFY(caretTop >= 0 && caretTop + view.GetLayout().GetPitch() <= view.viewport()->height());
}

void TestTabulonView::SelectionSurvivesAppendsAndIsPaintedHighlighted() {
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    files.SetSavePrompt([](const QString&) { return CDocManager::SaveAnswer::Discard; });
    files.FileNew();
    view.resize(600, 200);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::HighlightedText, Qt::yellow);
    view.setPalette(palette);
    view.OnEditSelectAll();
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{0}, std::int64_t{1}));
    const QImage image = Render(view);
    const int pitch = view.GetLayout().GetPitch();
    QCOMPARE(image.pixelColor(300, pitch / 2), QColor(0, 0, 200));
    QCOMPARE(image.pixelColor(300, 2 * pitch + pitch / 2), QColor(Qt::white));
    bool yellowText = false;
    for (int x = 0; x < image.width() && !yellowText; ++x)
        yellowText = image.pixelColor(x, pitch / 2).red() > 150;
    QVERIFY(yellowText);

    doc.RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{0}, std::int64_t{1}));
    QVERIFY(view.GetSelectedText().startsWith(JournalLineText(doc.GetLines()->GetAt(0)) +
                                              QLatin1Char('\n')));
    // File Open appends too: the selection stays, and the lines it brings are laid out.
    const QString opened = m_files.filePath(QStringLiteral("appended.txt"));
    WriteFile(opened, "one\r\ntwo\r\n");
    const std::size_t before = doc.GetLines()->GetCount();
    QVERIFY(files.OpenDocumentFile(opened));
    QCOMPARE(Selected(view), std::make_pair(std::int64_t{0}, std::int64_t{1}));
    QCOMPARE(view.GetLayout().GetLineCount(), before + 2);
    files.FileNew();
    QVERIFY(view.GetSelection().IsEmpty());
    QCOMPARE(view.GetSelectedText(), QString());
}

void TestTabulonView::HomeEndAndControlHomeEndScroll() {
    const QString path = m_files.filePath(QStringLiteral("keys.txt"));
    QByteArray text;
    for (int i = 0; i < 100; ++i)
        text += (i == 60 ? QByteArray(400, 'w') : QByteArray("short")) + "\r\n";
    WriteFile(path, text);
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(files.OpenDocumentFile(path));
    view.setFocus();
    QScrollBar* vertical = view.verticalScrollBar();
    QScrollBar* horizontal = view.horizontalScrollBar();
    QCOMPARE(vertical->value(), vertical->maximum());
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(vertical->value(), 0);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(vertical->value(), vertical->maximum());
    // End on a short row stays at the left edge; on the wide row it shows the row's end.
    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(horizontal->value(), 0);
    view.ScrollToPosition(QPoint(0, static_cast<int>(view.GetLayout().GetRowTop(60))));
    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(horizontal->value(), horizontal->maximum());
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(horizontal->value(), 0);
}

void TestTabulonView::TenMillionCharacterLineScrollsAndStaysInItsRow() {
    const QString path = m_files.filePath(QStringLiteral("huge.txt"));
    WriteFile(path, QByteArray(10000000, 'x') + "\r\nafter\r\n");
    CTabulonDoc doc;
    CTabulonView view(doc);
    CDocManager files(doc, &view);
    QVERIFY(files.OpenDocumentFile(path));
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const double advance = QFontMetricsF(view.GetJournalFont()).horizontalAdvance(QLatin1Char('x'));
    const std::int64_t width = view.GetLayout().GetTotalSize().cx;
    QCOMPARE(width, std::llround(10000000 * advance) + 4 * view.GetLayout().GetCharWidth());
    QScrollBar* horizontal = view.horizontalScrollBar();
    QCOMPARE(horizontal->maximum(), static_cast<int>(width) - view.viewport()->width());
    const int pitch = view.GetLayout().GetPitch();
    // Row 0 is the long line: at its start, in the middle and at its end, ink only in its
    // row; row 1 ("after") has ink at the left edge only.
    for (const int x : {0, horizontal->maximum() / 2, horizontal->maximum()}) {
        view.ScrollToPosition(QPoint(x, 0));
        const QImage image = Render(view);
        QVERIFY2(FirstInkColumn(image, 0, pitch) >= 0, qPrintable(QString::number(x)));
        QCOMPARE(FirstInkColumn(image, 2 * pitch, image.height()), -1);
        if (x > 0)
            QCOMPARE(FirstInkColumn(image, pitch, 2 * pitch), -1);
    }
}

TABULON_GUI_TEST_MAIN(TestTabulonView)
#include "tst_TabulonView.moc"
