// The main window: menus, accelerators, toolbar, status bar, check marks and caption.
#include "AboutDialog.h"
#include "GuiTestMain.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "TabulonView.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace shell_test;

class TestMainFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void init();
    void cleanup();
    void ToolbarHasEightButtonsWithTooltipsAndDocksAnywhere();
    void EditCommandsStayDisabledEverywhere();
    void StartShowsUntitledCaptionReadyAndInsuranceChecked();
    void CancelledPensionDialogStillMovesTheCheckMark();
    void AcceptedRunAppendsScrollsToTheEndAndMarksTheCaption();
    void ViewMenuHidesAndShowsTheBarsWithTheirCheckMarks();
    void AboutBoxShowsVersionAndIconAndCloses_data();
    void AboutBoxShowsVersionAndIconAndCloses();
    void PrintPreviewShowsThePagesTheViewPrints();

private:
    QAction* Action(const char* id) const {
        return m_frame->findChild<QAction*>(QLatin1String(id));
    }

    QTemporaryDir m_settings;
    std::unique_ptr<CTabulonDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

void TestMainFrame::init() {
    m_doc = std::make_unique<CTabulonDoc>();
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    m_frame->GetDocManager().SetSavePrompt(
        [](const QString&) { return CDocManager::SaveAnswer::Discard; });
    m_frame->GetDocManager().FileNew();
    m_frame->resize(640, 480);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
}

void TestMainFrame::cleanup() {
    m_frame.reset();
    m_doc.reset();
}

void TestMainFrame::ToolbarHasEightButtonsWithTooltipsAndDocksAnywhere() {
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("AFX_IDW_TOOLBAR"));
    QVERIFY(bar);
    QStringList tips;
    for (QAction* action : bar->actions())
        tips.append(action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    QCOMPARE(tips.join(QLatin1Char(' ')),
             QStringLiteral("New Open Save | Cut Copy Paste | Print About"));
    for (QAction* action : bar->actions())
        QVERIFY(action->isSeparator() || !action->icon().pixmap(16, 16).isNull());
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

void TestMainFrame::EditCommandsStayDisabledEverywhere() {
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
    m_doc->SetDialogFactory(AnsweringFactory(IDOK));
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
    m_doc->SetDialogFactory(AnsweringFactory(IDCANCEL, &dialogs));
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
    m_doc->SetDialogFactory(AnsweringFactory(IDOK));
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
             QStringLiteral("Tabulon Version 1.0"));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("IDR_MAINFRAME"))->pixmap().isNull());
    QTest::keyClick(&about, Qt::Key(key));
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), result);
}

void TestMainFrame::PrintPreviewShowsThePagesTheViewPrints() {
    m_doc->SetDialogFactory(AnsweringFactory(IDOK));
    Action("ID_TYPE_INSURANCE")->trigger();
    int previewPages = -1;
    QPrinter printer(QPrinter::HighResolution);
    const int viewPages = m_frame->GetView()->GetPageCount(&printer);
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

TABULON_GUI_TEST_MAIN(TestMainFrame)
#include "tst_MainFrame.moc"
