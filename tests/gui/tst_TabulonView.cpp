// The journal view: layout and drawing of the rows, scrolling to the end after every
// change, and printing into pages.
#include "DocManager.h"
#include "GuiTestMain.h"
#include "LineText.h"
#include "ShellTestSupport.h"
#include "TabulonView.h"

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

private:
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
    const CViewLayout& layout = view.GetLayout();
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
    QCOMPARE(view.GetPageCount(&printer), 1);
    QCOMPARE(view.OnPrint(&printer), 1);
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
    QCOMPARE(view.GetPageCount(&printer), pages);
    QCOMPARE(view.OnPrint(&printer), pages);
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
    const int pages = view.OnPrint(&printer);
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

TABULON_GUI_TEST_MAIN(TestTabulonView)
#include "tst_TabulonView.moc"
