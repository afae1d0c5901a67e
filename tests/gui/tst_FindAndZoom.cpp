// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a long journal: the find bar, the view's zoom (and printing at its own size), the
// key figure in the status bar, and what the window remembers from one start to the next.
#include "ChartsWindow.h"
#include "FindBar.h"
#include "GuiTestMain.h"
#include "LastFolder.h"
#include "MainFrame.h"
#include "PrinterPage.h"
#include "ShellTestSupport.h"
#include "TabulonView.h"

#include <QAction>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace shell_test;

class TestFindAndZoom : public QObject, protected MainWindowTest {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void init() { QVERIFY(ShowMainWindow(640, 480)); }
    void cleanup() { CloseMainWindow(); }
    void FindBarFindsHighlightsScrollsAndSaysNotFound();
    void ZoomScalesTheViewButNotThePrintedPages();
    void StatusBarShowsTheSolvedFigure_data();
    void StatusBarShowsTheSolvedFigure();
    void ExitAndCalculationCommandsHaveShortcutsAndButtons();
    void WindowZoomAndChartsAreRestoredAtTheNextStart();
    void FileDialogsOpenInTheFolderLastUsed();

private:
    // A journal of the two opening lines and count numbered lines, shown from its top.
    void OpenNumberedLines(int count);
    QLabel* KeyFigure() const {
        return m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("KeyFigure"));
    }

    QTemporaryDir m_files;
};

void TestFindAndZoom::OpenNumberedLines(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray("entry ") + QByteArray::number(i).rightJustified(4, '0') +
                " of the journal\r\n";
    const QString path = m_files.filePath(QStringLiteral("numbered.txt"));
    WriteFile(path, text);
    QVERIFY(m_frame->GetDocManager().OpenDocumentFile(path));
    m_frame->GetView()->ScrollToPosition(QPoint(0, 0));
}

namespace {
// Whether the viewport shows the amber of a match anywhere in its rows top..bottom.
bool ShowsMatchColour(CTabulonView& view, int top, int bottom) {
    const QImage image = view.viewport()->grab().toImage();
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 150 && c.green() < 230 && c.blue() < 160)
                return true;
        }
    return false;
}
} // namespace

void TestFindAndZoom::FindBarFindsHighlightsScrollsAndSaysNotFound() {
    OpenNumberedLines(1000);
    CTabulonView* view = m_frame->GetView();
    FindBar* bar = m_frame->GetFindBar();
    auto* text = bar->findChild<QLineEdit*>(QStringLiteral("FindText"));
    QVERIFY(!bar->isVisible());
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QVERIFY(bar->isVisible());
    QTRY_VERIFY(text->hasFocus());
    // The case of letters does not matter; Enter finds the first match below the top row.
    QTest::keyClicks(text, QStringLiteral("ENTRY 06"));
    QTest::keyClick(text, Qt::Key_Return);
    // Line 0600 follows the two opening lines.
    QCOMPARE(view->GetMatch().line, std::int64_t{602});
    QCOMPARE(view->GetMatch().start, qsizetype{0});
    QCOMPARE(view->GetMatch().length, qsizetype{8});
    QCOMPARE(bar->GetStatus(), QStringLiteral("Line 603"));
    const int pitch = view->GetLayout().GetPitch();
    const int rowTop = 602 * pitch - view->verticalScrollBar()->value();
    QVERIFY(rowTop >= 0 && rowTop + pitch <= view->viewport()->height());
    QVERIFY(ShowsMatchColour(*view, rowTop, rowTop + pitch));
    QVERIFY(!ShowsMatchColour(*view, 0, rowTop));

    // F3 and Shift+F3 go on from the match, also with the focus in the view.
    view->setFocus();
    QTest::keyClick(m_frame.get(), Qt::Key_F3);
    QCOMPARE(view->GetMatch().line, std::int64_t{603});
    QTest::keyClick(m_frame.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(view->GetMatch().line, std::int64_t{602});
    // Before the first match the search goes on from the end, after the last from the top,
    // and says so.
    QTest::keyClick(m_frame.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(view->GetMatch().line, std::int64_t{701});
    QCOMPARE(bar->GetStatus(),
             QStringLiteral("Passed the top of the journal; continued from the end."));
    Action("ID_EDIT_REPEAT")->trigger();
    QCOMPARE(view->GetMatch().line, std::int64_t{602});
    QCOMPARE(bar->GetStatus(),
             QStringLiteral("Passed the end of the journal; continued from the top."));

    // A text that is nowhere: said plainly, nothing highlighted, the view where it was.
    const int scrolled = view->verticalScrollBar()->value();
    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("annuity"));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(bar->GetStatus(), QStringLiteral("Not found: \"annuity\""));
    QCOMPARE(view->GetMatch().line, std::int64_t{-1});
    QCOMPARE(view->verticalScrollBar()->value(), scrolled);

    // Escape closes the bar and gives the view the keys again.
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(view->hasFocus());
}

void TestFindAndZoom::ZoomScalesTheViewButNotThePrintedPages() {
    OpenNumberedLines(300);
    CTabulonView* view = m_frame->GetView();
    const std::int64_t height = view->GetLayout().GetTotalSize().cy;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(150);
    const QRect paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const auto printPage = [&] {
        QImage page(paper.size(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        view->PrintPage(painter, GeometryOf(printer), 1);
        return page;
    };
    const int pages = view->GetPageCount(GeometryOf(printer));
    const QImage actualSize = printPage();

    // Rows and steps as the keys go: Ctrl++ (and Ctrl+=) larger, Ctrl+- smaller, Ctrl+0 back.
    struct Step {
        QKeySequence keys;
        int zoom;
    };
    for (const Step& step : {Step{QKeySequence(Qt::CTRL | Qt::Key_Plus), 110},
                             Step{QKeySequence(Qt::CTRL | Qt::Key_Equal), 125},
                             Step{QKeySequence(Qt::CTRL | Qt::Key_Minus), 110},
                             Step{QKeySequence(Qt::CTRL | Qt::Key_0), 100},
                             Step{QKeySequence(Qt::CTRL | Qt::Key_Minus), 90}}) {
        QTest::keySequence(m_frame.get(), step.keys);
        QCOMPARE(view->GetZoom(), step.zoom);
        QCOMPARE(view->GetTotalSize().height(), static_cast<int>(height * step.zoom / 100));
    }
    for (int i = 0; i < 20; ++i)
        view->ZoomIn();
    QCOMPARE(view->GetZoom(), CTabulonView::ZoomSteps().back());
    for (int i = 0; i < 20; ++i)
        view->ZoomOut();
    QCOMPARE(view->GetZoom(), CTabulonView::ZoomSteps().front());

    // Zoomed in, a click selects the row under the mouse, and the row stays put in print.
    view->SetZoom(200);
    view->ScrollToPosition(QPoint(0, 0));
    const int pitch = view->GetLayout().GetPitch();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(40, 2 * pitch * 5 + pitch));
    QCOMPARE(view->GetSelection().caret, std::int64_t{5});
    QCOMPARE(view->GetPageCount(GeometryOf(printer)), pages);
    QVERIFY(printPage() == actualSize);
}

void TestFindAndZoom::StatusBarShowsTheSolvedFigure_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("inputKind");
    QTest::addColumn<QString>("label");
    QTest::newRow("insurance, amount given") << 0 << 1 << "Annual premium: ";
    QTest::newRow("insurance, premium given") << 0 << 2 << "Policy amount: ";
    QTest::newRow("pension, amount given") << 1 << 1 << "Annual payment: ";
}

void TestFindAndZoom::StatusBarShowsTheSolvedFigure() {
    QFETCH(int, command);
    QFETCH(int, inputKind);
    QFETCH(QString, label);
    QCOMPARE(KeyFigure()->text(), QString());
    PolicyDialogData values = TermLifeWithBothSections();
    values.m_nInputKind = inputKind;
    values.m_fAmount = inputKind == 1 ? 100000 : 1200;
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok, nullptr, values));
    Action(command == 0 ? "ID_TYPE_INSURANCE" : "ID_TYPE_PENSION")->trigger();
    const QString figure = KeyFigure()->text();
    QVERIFY2(figure.startsWith(label), qPrintable(figure));
    // The figure as the report's summary line prints it.
    const QString number = figure.mid(label.size());
    QVERIFY(number.contains(QLatin1Char('.')) && number.toDouble() > 0);
    bool printed = false;
    for (std::size_t i = 0; i < m_doc->GetLines()->GetCount(); ++i) {
        const QString line = QString::fromLatin1(m_doc->GetLines()->GetAt(i));
        printed = printed || line.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(number);
    }
    QVERIFY2(printed, qPrintable(number));
    QVERIFY(KeyFigure()->isVisible());
    // File New keeps the last calculation's figure, as the record keeps it.
    Action("ID_FILE_NEW")->trigger();
    QCOMPARE(KeyFigure()->text(), figure);
}

void TestFindAndZoom::ExitAndCalculationCommandsHaveShortcutsAndButtons() {
    QCOMPARE(Action("ID_APP_EXIT")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(Action("ID_TYPE_INSURANCE")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    QCOMPARE(Action("ID_TYPE_PENSION")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_2));
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("AFX_IDW_TOOLBAR"));
    for (const char* id : {"ID_TYPE_INSURANCE", "ID_TYPE_PENSION"}) {
        QVERIFY2(bar->actions().contains(Action(id)), id);
        QVERIFY2(!Action(id)->icon().pixmap(16, 16).isNull(), id);
    }
    int asked = 0;
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Cancel, &asked));
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_2));
    QCOMPARE(asked, 1);
    QVERIFY(Action("ID_TYPE_PENSION")->isChecked());
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_1));
    QCOMPARE(asked, 2);

    // Ctrl+Q asks about unsaved changes: Cancel keeps the window, Don't Save closes it.
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok));
    Action("ID_TYPE_INSURANCE")->trigger();
    int prompts = 0;
    auto answer = CDocManager::SaveAnswer::Cancel;
    m_frame->GetDocManager().SetSavePrompt([&](const QString&) {
        ++prompts;
        return answer;
    });
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(prompts, 1);
    QVERIFY(m_frame->isVisible());
    answer = CDocManager::SaveAnswer::Discard;
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(prompts, 2);
    QVERIFY(!m_frame->isVisible());
}

void TestFindAndZoom::WindowZoomAndChartsAreRestoredAtTheNextStart() {
    m_frame->resize(700, 520);
    m_frame->move(40, 30);
    Action("ID_VIEW_CHARTS")->trigger();
    QVERIFY(m_frame->GetChartsWindow()->isVisible());
    m_frame->GetView()->SetZoom(150);
    QVERIFY(m_frame->close());

    CTabulonDoc doc;
    CMainFrame again(doc);
    again.GetDocManager().FileNew();
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.size(), QSize(700, 520));
    QCOMPARE(again.GetView()->GetZoom(), 150);
    QVERIFY(again.GetChartsWindow()->isVisible());
    QCOMPARE(again.dockWidgetArea(again.GetChartsWindow()), Qt::RightDockWidgetArea);

    // Hidden when the window closed, hidden at the next start.
    again.GetChartsWindow()->hide();
    again.GetDocManager().SetSavePrompt(
        [](const QString&) { return CDocManager::SaveAnswer::Discard; });
    QVERIFY(again.close());
    CMainFrame third(doc);
    third.show();
    QVERIFY(QTest::qWaitForWindowExposed(&third));
    QVERIFY(!third.GetChartsWindow()->isVisible());
    third.GetView()->SetZoom(100);
    third.GetDocManager().SetSavePrompt(
        [](const QString&) { return CDocManager::SaveAnswer::Discard; });
    third.close(); // leaves the settings as the other tests expect them
}

void TestFindAndZoom::FileDialogsOpenInTheFolderLastUsed() {
    const QString folder = m_files.filePath(QStringLiteral("journals"));
    QVERIFY(QDir().mkpath(folder));
    last_folder::Remember(folder + QStringLiteral("/old.txt"));
    QCOMPARE(last_folder::Get(), folder);
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = dialog->directory().absolutePath();
        dialog->reject();
    });
    Action("ID_FILE_OPEN")->trigger();
    QCOMPARE(shown, folder);
    // A folder that is gone leaves the dialog at its own start.
    QVERIFY(QDir(folder).removeRecursively());
    QCOMPARE(last_folder::Get(), QString());
}

TABULON_GUI_TEST_MAIN(TestFindAndZoom)
#include "tst_FindAndZoom.moc"
