// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menus, accelerators, toolbar, status bar, check marks and caption.
#include "AboutDialog.h"
#include "GuiTestMain.h"
#include "LineText.h"
#include "MainFrame.h"
#include "PrintPreview.h"
#include "PrinterPage.h"
#include "ShellTestSupport.h"
#include "TabulonView.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cerrno>
#include <cstring>

using namespace shell_test;

class TestMainFrame : public QObject, protected MainWindowTest {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void init() { QVERIFY(ShowMainWindow(640, 480)); }
    void cleanup() { CloseMainWindow(); }
    void ToolbarHasTwelveButtonsWithTooltipsAndDocksAnywhere();
    void UndoCutPasteAndCopyWithoutASelectionStayDisabled();
    void SelectAllAndControlCPutTheLinesOnTheClipboard();
    void DroppedFileIsOpenedAsFileOpenOpensIt();
    void SaveAsProposesTheJournalsName();
    void PrintSetupSaysSoWhenThereIsNoPrinter();
    void MillionLinePreviewShowsItsFirstPageAtOnce();
    void PreviewKeysAndPageBoxMoveThroughThousandsOfPages();
    void StartShowsUntitledCaptionReadyAndInsuranceChecked();
    void CancelledPensionDialogStillMovesTheCheckMark();
    void AcceptedRunAppendsScrollsToTheEndAndMarksTheCaption();
    void ViewMenuHidesAndShowsTheBarsWithTheirCheckMarks();
    void AboutBoxShowsVersionAndIconAndCloses_data();
    void AboutBoxShowsVersionAndIconAndCloses();
    void PrintPreviewShowsThePagesTheViewPrints();

private:
};

void TestMainFrame::ToolbarHasTwelveButtonsWithTooltipsAndDocksAnywhere() {
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("AFX_IDW_TOOLBAR"));
    QVERIFY(bar);
    QStringList tips;
    for (QAction* action : bar->actions())
        tips.append(action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    QCOMPARE(
        tips.join(QLatin1Char(' ')),
        QStringLiteral(
            "New Open Save | Cut Copy Paste | Insurance Pension Product | Print Charts About"));
    // Each button's image at both its sizes is its PNG file, pixel for pixel.
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        for (const int size : {16, 32}) {
            const QString file = QStringLiteral(TABULON_ICON_DIR "/%1-%2.png")
                                     .arg(action->toolTip().toLower())
                                     .arg(size);
            const QImage expected =
                QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QVERIFY2(!expected.isNull(), qPrintable(file));
            QCOMPARE(action->icon().pixmap(size, size).toImage(), expected);
        }
    }
    QCOMPARE(m_frame->toolBarArea(bar), Qt::TopToolBarArea);
    QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
    QVERIFY(bar->isMovable());
    QVERIFY(bar->isFloatable());

    // Hovering a button puts its prompt in the status bar.
    auto* print = qobject_cast<QToolButton*>(bar->widgetForAction(Action("ID_FILE_PRINT")));
    QVERIFY(print);
    QTest::mouseMove(print);
    QTRY_COMPARE(m_frame->statusBar()->currentMessage(),
                 QStringLiteral("Print the active document"));
    QVERIFY(!m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("ID_SEPARATOR"))->isVisible());
    QTest::mouseMove(m_frame->GetView()->viewport());
    QTRY_COMPARE(m_frame->statusBar()->currentMessage(), QString());
    QVERIFY(m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("ID_SEPARATOR"))->isVisible());
}

void TestMainFrame::UndoCutPasteAndCopyWithoutASelectionStayDisabled() {
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("AFX_IDW_TOOLBAR"));
    for (const char* id : {"ID_EDIT_UNDO", "ID_EDIT_CUT", "ID_EDIT_COPY", "ID_EDIT_PASTE"}) {
        QAction* action = Action(id);
        QSignalSpy triggered(action, &QAction::triggered);
        for (const QKeySequence& key : action->shortcuts())
            QTest::keySequence(m_frame.get(), key);
        QCOMPARE(triggered.count(), 0);
        QVERIFY2(!action->isEnabled(), id);
        if (QWidget* button = bar->widgetForAction(action))
            QVERIFY2(!button->isEnabled(), id);
    }
    // Still disabled after a run and a New.
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok));
    Action("ID_TYPE_INSURANCE")->trigger();
    Action("ID_FILE_NEW")->trigger();
    for (const char* id : {"ID_EDIT_UNDO", "ID_EDIT_CUT", "ID_EDIT_COPY", "ID_EDIT_PASTE"})
        QVERIFY2(!Action(id)->isEnabled(), id);
}

void TestMainFrame::StartShowsUntitledCaptionReadyAndInsuranceChecked() {
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Untitled[*] - Tabulon"));
    QVERIFY(!m_frame->isWindowModified());
    auto* ready = m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("ID_SEPARATOR"));
    QVERIFY(ready);
    QCOMPARE(ready->text(), QStringLiteral("Ready"));
    QVERIFY(ready->isVisible());
    for (const char* pane : {"ID_INDICATOR_CAPS", "ID_INDICATOR_NUM", "ID_INDICATOR_SCRL"})
        QVERIFY2(m_frame->statusBar()->findChild<QLabel*>(QLatin1String(pane)), pane);
    QVERIFY(Action("ID_TYPE_INSURANCE")->isChecked());
    QVERIFY(!Action("ID_TYPE_PENSION")->isChecked());
    QCOMPARE(m_frame->GetView()->windowTitle(), QStringLiteral("Window Tabulon"));
}

void TestMainFrame::CancelledPensionDialogStillMovesTheCheckMark() {
    int dialogs = 0;
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Cancel, &dialogs));
    Action("ID_TYPE_PENSION")->trigger();
    QCOMPARE(dialogs, 1);
    QVERIFY(Action("ID_TYPE_PENSION")->isChecked());
    QVERIFY(!Action("ID_TYPE_INSURANCE")->isChecked());
    QCOMPARE(m_doc->GetLines()->GetCount(), std::size_t{2});
    QVERIFY(!m_frame->isWindowModified());
    // Triggering the checked item again keeps it checked.
    Action("ID_TYPE_PENSION")->trigger();
    QVERIFY(Action("ID_TYPE_PENSION")->isChecked());
    Action("ID_TYPE_INSURANCE")->trigger();
    QVERIFY(Action("ID_TYPE_INSURANCE")->isChecked());
    QVERIFY(!Action("ID_TYPE_PENSION")->isChecked());
}

void TestMainFrame::AcceptedRunAppendsScrollsToTheEndAndMarksTheCaption() {
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok));
    Action("ID_TYPE_INSURANCE")->trigger();
    QVERIFY(m_doc->GetLines()->GetCount() > 100);
    QScrollBar* bar = m_frame->GetView()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(m_frame->isWindowModified());
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Untitled[*] - Tabulon"));
}

void TestMainFrame::ViewMenuHidesAndShowsTheBarsWithTheirCheckMarks() {
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("AFX_IDW_TOOLBAR"));
    QAction* toolbar = Action("ID_VIEW_TOOLBAR");
    QVERIFY(toolbar->isChecked());
    toolbar->trigger();
    QVERIFY(!bar->isVisible());
    QVERIFY(!toolbar->isChecked());
    toolbar->trigger();
    QVERIFY(bar->isVisible());
    QVERIFY(toolbar->isChecked());

    QAction* status = Action("ID_VIEW_STATUS_BAR");
    QVERIFY(status->isChecked());
    status->trigger();
    QVERIFY(!m_frame->statusBar()->isVisible());
    QVERIFY(!status->isChecked());
    status->trigger();
    QVERIFY(m_frame->statusBar()->isVisible());
}

void TestMainFrame::AboutBoxShowsVersionAndIconAndCloses_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    QTest::newRow("Enter") << int(Qt::Key_Enter) << int(QDialog::Accepted);
    QTest::newRow("Return") << int(Qt::Key_Return) << int(QDialog::Accepted);
}

void TestMainFrame::AboutBoxShowsVersionAndIconAndCloses() {
    QFETCH(int, key);
    QFETCH(int, result);
    CAboutDialog about(m_frame.get());
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tabulon"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("IDC_VERSION"))->text(),
             QStringLiteral("Tabulon Version " TABULON_PROJECT_VERSION_MAJOR_MINOR));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("IDR_MAINFRAME"))->pixmap().isNull());
    QTest::keyClick(&about, Qt::Key(key));
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), result);
}

void TestMainFrame::PrintPreviewShowsThePagesTheViewPrints() {
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok));
    Action("ID_TYPE_INSURANCE")->trigger();
    int previewPages = -1;
    QPrinter printer(QPrinter::HighResolution);
    const int viewPages = m_frame->GetView()->GetPageCount(GeometryOf(printer));
    QTimer::singleShot(0, this, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        if (!preview)
            return;
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        previewPages = pages ? pages->pageCount() : 0;
        preview->close();
    });
    Action("ID_FILE_PRINT_PREVIEW")->trigger();
    QVERIFY(previewPages > 1);
    QCOMPARE(previewPages, viewPages);
}

void TestMainFrame::SelectAllAndControlCPutTheLinesOnTheClipboard() {
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("AFX_IDW_TOOLBAR"));
    QAction* copy = Action("ID_EDIT_COPY");
    QAction* selectAll = Action("ID_EDIT_SELECT_ALL");
    QVERIFY(!copy->isEnabled());
    QVERIFY(selectAll->isEnabled());
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok));
    Action("ID_TYPE_INSURANCE")->trigger();
    m_frame->GetView()->setFocus();
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QVERIFY(copy->isEnabled());
    QVERIFY(bar->widgetForAction(copy)->isEnabled());
    QApplication::clipboard()->clear();
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QString expected;
    const CStringList& lines = *m_doc->GetLines();
    for (std::size_t i = 0; i < lines.GetCount(); ++i)
        expected += JournalLineText(lines.GetAt(i)) + QLatin1Char('\n');
    QCOMPARE(QApplication::clipboard()->text(), expected);
    for (const char* id : {"ID_EDIT_UNDO", "ID_EDIT_CUT", "ID_EDIT_PASTE"})
        QVERIFY2(!Action(id)->isEnabled(), id);
    // A click selects one line; Ctrl+Insert copies it too.
    QWidget* port = m_frame->GetView()->viewport();
    QTest::mouseClick(port, Qt::LeftButton, {}, QPoint(20, 2));
    QTest::keySequence(m_frame.get(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    QCOMPARE(QApplication::clipboard()->text().count(QLatin1Char('\n')), 1);
    // New replaces the journal and forgets the selection.
    Action("ID_FILE_NEW")->trigger();
    QVERIFY(!copy->isEnabled());
}

void TestMainFrame::DroppedFileIsOpenedAsFileOpenOpensIt() {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("dropped.txt"));
    WriteFile(path, "first dropped\r\nsecond dropped\r\n");
    QStringList warnings;
    m_frame->GetDocManager().SetWarning([&](const QString& message) { warnings << message; });
    const auto drop = [this](const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        const QPoint centre = m_frame->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_frame.get(), &dropped);
    };
    drop(path);
    QCOMPARE(m_doc->GetLines()->GetCount(), std::size_t{4});
    QCOMPARE(m_doc->GetLines()->GetAt(3), std::string_view("second dropped"));
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("dropped.txt[*] - Tabulon"));
    QVERIFY(warnings.isEmpty());
    drop(files.filePath(QStringLiteral("missing.txt")));
    QCOMPARE(warnings.size(), 1);
    // The reason comes from the C library, in the user's language.
    QVERIFY2(warnings[0].contains(QString::fromLocal8Bit(std::strerror(ENOENT))),
             qPrintable(warnings[0]));
    QCOMPARE(m_doc->GetLines()->GetCount(), std::size_t{4});
}

void TestMainFrame::SaveAsProposesTheJournalsName() {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("named.txt"));
    WriteFile(path, "a line\r\n");
    QVERIFY(m_frame->GetDocManager().OpenDocumentFile(path));
    QString proposed;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        proposed = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    Action("ID_FILE_SAVE_AS")->trigger();
    QCOMPARE(QFileInfo(proposed).absoluteFilePath(), QFileInfo(path).absoluteFilePath());
}

void TestMainFrame::PrintSetupSaysSoWhenThereIsNoPrinter() {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("a printer is set up on this machine");
    QString message;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        message = box->text();
        box->accept();
    });
    Action("ID_FILE_PRINT_SETUP")->trigger();
    QCOMPARE(message, QStringLiteral("No printer is installed; Print can still write a PDF file."));
}

void TestMainFrame::MillionLinePreviewShowsItsFirstPageAtOnce() {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("million.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray line = "  Age at death      Probability     Cumulative\r\n";
        QByteArray block;
        for (int i = 0; i < 1000; ++i)
            block += line;
        for (int i = 0; i < 1000; ++i)
            file.write(block);
    }
    QVERIFY(m_frame->GetDocManager().OpenDocumentFile(path));
    QPrinter printer(QPrinter::HighResolution);
    const int viewPages = m_frame->GetView()->GetPageCount(GeometryOf(printer));
    QVERIFY(viewPages > PrintCommands::kFullPreviewPages);
    int previewPages = -1;
    qint64 shownAfter = -1;
    bool inked = false;
    QElapsedTimer clock;
    QTimer::singleShot(0, this, [&] {
        auto* preview = qobject_cast<PrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview)
            return;
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        auto* pages = preview->findChild<QAbstractScrollArea*>(QStringLiteral("PreviewPages"));
        const QImage first = pages->viewport()->grab().toImage();
        shownAfter = clock.elapsed();
        for (int y = 0; y < first.height() && !inked; y += 2)
            for (int x = 0; x < first.width() && !inked; ++x)
                inked = qGray(first.pixel(x, y)) < 100;
        previewPages = preview->GetPageCount();
        QCOMPARE(preview->GetCurrentPage(), 1);
        QTest::keyClick(preview, Qt::Key_Escape); // cancels the preview
    });
    clock.start();
    Action("ID_FILE_PRINT_PREVIEW")->trigger();
    QCOMPARE(previewPages, viewPages);
    QVERIFY(inked);
    QVERIFY2(shownAfter >= 0 && shownAfter < 2000, qPrintable(QString::number(shownAfter)));
    QVERIFY(!QApplication::activeModalWidget());
}

// Home, End, Page Up, Page Down and the page-number box each bring a page's top into sight;
// the box follows the scrolling.
void TestMainFrame::PreviewKeysAndPageBoxMoveThroughThousandsOfPages() {
    QPrinter printer(QPrinter::HighResolution);
    const int pages = 5000;
    PrintPreviewDialog preview(
        &printer, pages, [](QPainter&, const PageGeometry&, int) {}, m_frame.get());
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto* strip = preview.findChild<QAbstractScrollArea*>(QStringLiteral("PreviewPages"));
    auto* box = preview.findChild<QSpinBox*>(QStringLiteral("PageNumber"));
    QVERIFY(strip && box);
    QCOMPARE(box->maximum(), pages);
    const auto top = [&] { return strip->verticalScrollBar()->value(); };
    struct Step {
        Qt::Key key;
        int page;
    };
    // Page Up from part-way down a page goes to that page's top first.
    for (const Step& step :
         {Step{Qt::Key_End, pages}, Step{Qt::Key_Home, 1}, Step{Qt::Key_PageDown, 2},
          Step{Qt::Key_PageDown, 3}, Step{Qt::Key_PageUp, 2}, Step{Qt::Key_Down, 2},
          Step{Qt::Key_PageUp, 2}, Step{Qt::Key_PageUp, 1}, Step{Qt::Key_PageUp, 1}}) {
        const int before = top();
        QTest::keyClick(strip, step.key);
        QCOMPARE(preview.GetCurrentPage(), step.page);
        QCOMPARE(box->value(), step.page);
        if (step.key == Qt::Key_Down)
            QVERIFY(top() > before);
    }
    box->setValue(1234);
    QCOMPARE(preview.GetCurrentPage(), 1234);
    const int page1234 = top();
    QTest::keyClick(strip, Qt::Key_PageDown);
    QCOMPARE(preview.GetCurrentPage(), 1235);
    QCOMPARE(top() - page1234, top() / 1234);
    // Typed into the box, as the user types a page and presses Enter.
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("4321"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(preview.GetCurrentPage(), 4321);
    preview.reject();
}

TABULON_GUI_TEST_MAIN(TestMainFrame)
#include "tst_MainFrame.moc"
