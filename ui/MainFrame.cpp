// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFrame.h"

#include "ImportedTables.h"

#include "ActionCmdUI.h"
#include "AppIcon.h"
#include "ChartSeries.h"
#include "ChartsModule.h"
#include "ChartsWindow.h"
#include "FileName.h"
#include "FindBar.h"
#include "LastFolder.h"
#include "LockKeyPanes.h"
#include "SettingsFile.h"
#include "TabulonDoc.h"
#include "TabulonView.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

CMainFrame::CMainFrame(CTabulonDoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_view(new CTabulonView(doc, this)), m_docManager(doc, this),
      m_printCommands(this, m_view->GetPageSource()) {
    setObjectName(QStringLiteral("CMainFrame"));
    // The find bar, made when first used, sits under the view.
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_view, 1);
    setCentralWidget(central);
    setAcceptDrops(true);
    CreateActions();
    CreateStatusBar();
    m_doc.SetStateListener([this] { UpdateCaption(); });
    connect(m_view, &CTabulonView::editStateChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_view, &CTabulonView::calculationAppended, this,
            [this] { m_keyFigure->setText(KeyFigure(m_doc)); });
    m_docManager.SetFileChooser([this](bool save) { return ChooseFile(save); });
    UpdateCaption();
    UpdateCommandUI();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 3 / 4);
    RestoreSettings();
}

namespace {
const char* const kGeometryKey = "Settings/WindowGeometry";
const char* const kStateKey = "Settings/WindowState";
const char* const kChartsShownKey = "Settings/ChartsShown";
const char* const kZoomKey = "Settings/Zoom";
// How long a message of a finished command stays in the status bar, in milliseconds.
constexpr int kStatusMessageTimeout = 10000;
} // namespace

void CMainFrame::RestoreSettings() {
    if (!SettingsFileProblem().isEmpty())
        return;
    const QSettings settings;
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    restoreState(settings.value(kStateKey).toByteArray());
    // The Charts window is made now only when it was open: otherwise on first use.
    if (settings.value(kChartsShownKey, false).toBool())
        GetChartsWindow();
    const int zoom = settings.value(kZoomKey, 100).toInt();
    if (CTabulonView::ZoomSteps().contains(zoom))
        m_view->SetZoom(zoom);
}

void CMainFrame::SaveSettings() const {
    if (!SettingsFileProblem().isEmpty())
        return;
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState());
    settings.setValue(kChartsShownKey, m_charts && !m_charts->isHidden());
    settings.setValue(kZoomKey, m_view->GetZoom());
}

FindBar* CMainFrame::GetFindBar() {
    if (!m_findBar) {
        QWidget* central = centralWidget();
        m_findBar = new FindBar(*m_view, central);
        central->layout()->addWidget(m_findBar);
    }
    return m_findBar;
}

ChartsWindow* CMainFrame::GetChartsWindow() {
    return m_charts ? m_charts : CreateChartsWindow();
}

ChartsWindow* CMainFrame::CreateChartsWindow() {
    QString error;
    m_charts = charts_module::Create(m_doc, m_printCommands, this, error);
    if (!m_charts) {
        QMessageBox::warning(this, QStringLiteral("Tabulon"), error);
        return nullptr;
    }
    // Its place and size as saved when the window last closed, when they were.
    if (restoreDockWidget(m_charts)) {
        m_charts->KeepRestoredSize();
    } else {
        addDockWidget(Qt::RightDockWidgetArea, m_charts);
        m_charts->hide();
    }
    // The command follows the window, also when its own title bar closes it.
    connect(m_charts->toggleViewAction(), &QAction::toggled, m_chartsCommand, &QAction::setChecked);
    m_chartsCommand->setChecked(!m_charts->isHidden());
    return m_charts;
}

QString CMainFrame::ChooseFile(bool save) {
    // Save As proposes the journal's current name, an untitled journal's title in the folder
    // last used; journals have no extension of their own, so every file is offered.
    QString chosen;
    if (save) {
        const QString current =
            m_doc.GetPathName().empty()
                ? last_folder::Proposed(m_docManager.GetTitle())
                : DecodeFileName(QByteArray::fromStdString(m_doc.GetPathName()));
        chosen = QFileDialog::getSaveFileName(
            this, QCoreApplication::translate("CDocManager", "Save As"), current);
    } else {
        chosen = QFileDialog::getOpenFileName(
            this, QCoreApplication::translate("CDocManager", "Open"), last_folder::Get());
    }
    last_folder::Remember(chosen);
    return chosen;
}

QString CMainFrame::KeyFigure(const CTabulonDoc& doc) {
    if (const ProductResult* product = doc.GetLastProduct()) {
        const QString premium = QString::asprintf("%.2f", product->value.netPremium);
        const PremiumLeg& leg = product->values.product.premium;
        const bool annual = leg.forLife || leg.term > 0;
        // With expenses, the gross premium after the net one.
        if (product->values.expenses.Any()) {
            const QString gross = QString::asprintf("%.2f", product->gross.premium);
            return annual ? tr("Net annual premium: %1, gross: %2").arg(premium, gross)
                          : tr("Net single premium: %1, gross: %2").arg(premium, gross);
        }
        return annual ? tr("Net annual premium: %1").arg(premium)
                      : tr("Net single premium: %1").arg(premium);
    }
    if (!HoldsCalculation(doc))
        return {};
    // Two decimals, as the report's summary line prints them, with a decimal point in
    // every language.
    if (doc.m_nInputKind == 2) {
        const QString amount = QString::asprintf("%.2f", doc.m_dAmount);
        return doc.m_nMode == 2
                   ? tr("Policy amount: %1", "the single amount of a pension").arg(amount)
                   : tr("Policy amount: %1").arg(amount);
    }
    const QString premium = QString::asprintf("%.2f", doc.m_dPremium);
    return doc.m_nMode == 2 ? tr("Annual payment: %1").arg(premium)
                            : tr("Annual premium: %1").arg(premium);
}

CMainFrame::~CMainFrame() {
    m_doc.SetStateListener(nullptr);
}

QAction* CMainFrame::AddCommand(QMenu* menu, const char* id, const QString& text,
                                const QString& prompt) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(id));
    action->setStatusTip(prompt);
    return action;
}

void CMainFrame::CreateActions() {
    m_toolBar = new QToolBar(tr("Toolbar"), this);
    CreateFileMenu(menuBar()->addMenu(tr("&File")));
    CreateEditMenu(menuBar()->addMenu(tr("&Edit")));
    CreateViewMenu(menuBar()->addMenu(tr("&View")));
    CreateTypeMenu(menuBar()->addMenu(tr("&Type of policy")));
    CreateTablesMenu(menuBar()->addMenu(tr("T&ables")));
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = AddCommand(help, "ID_APP_ABOUT", tr("&About Tabulon..."),
                                tr("Display program information, version number and copyright"));
    SetButton(about, "help-about", "about", tr("About"));
    connect(about, &QAction::triggered, this, &CMainFrame::aboutRequested);
    CreateToolBar();
}

void CMainFrame::SetButton(QAction* action, const char* themeIcon, const char* iconFile,
                           const QString& toolTip) {
    action->setIcon(CommandIcon(themeIcon, iconFile));
    action->setToolTip(toolTip);
}

void CMainFrame::CreateFileMenu(QMenu* menu) {
    m_fileMenu = menu;
    QAction* fileNew = AddCommand(menu, "ID_FILE_NEW", tr("&New"), tr("Create a new document"));
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    SetButton(fileNew, "document-new", "new", tr("New"));
    connect(fileNew, &QAction::triggered, this, [this] { m_docManager.FileNew(); });

    QAction* open =
        AddCommand(menu, "ID_FILE_OPEN", tr("&Open..."), tr("Open an existing document"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SetButton(open, "document-open", "open", tr("Open"));
    connect(open, &QAction::triggered, this, [this] { m_docManager.FileOpen(); });

    QAction* save = AddCommand(menu, "ID_FILE_SAVE", tr("&Save"), tr("Save the active document"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SetButton(save, "document-save", "save", tr("Save"));
    connect(save, &QAction::triggered, this, [this] { m_docManager.FileSave(); });

    QAction* saveAs = AddCommand(menu, "ID_FILE_SAVE_AS", tr("Save &As..."),
                                 tr("Save the active document with a new name"));
    connect(saveAs, &QAction::triggered, this, [this] { m_docManager.FileSaveAs(); });
    menu->addSeparator();

    QAction* print =
        AddCommand(menu, "ID_FILE_PRINT", tr("&Print..."), tr("Print the active document"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    SetButton(print, "document-print", "print", tr("Print"));
    connect(print, &QAction::triggered, this, [this] { m_printCommands.Print(); });

    QAction* preview =
        AddCommand(menu, "ID_FILE_PRINT_PREVIEW", tr("Print Pre&view"), tr("Display full pages"));
    connect(preview, &QAction::triggered, this, [this] { m_printCommands.PrintPreview(); });
    QAction* setup = AddCommand(menu, "ID_FILE_PRINT_SETUP", tr("P&rint Setup..."),
                                tr("Change the printer and printing options"));
    connect(setup, &QAction::triggered, this, [this] { m_printCommands.PrintSetup(); });
    menu->addSeparator();
    m_exitSeparator = menu->addSeparator();
    QAction* exit = AddCommand(menu, "ID_APP_EXIT", tr("E&xit"),
                               tr("Quit the application; prompts to save documents"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    // The recent files are read when the menu opens, not at start.
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileMenu);
}

void CMainFrame::CreateEditMenu(QMenu* menu) {
    // The journal is never edited: Undo, Cut and Paste have no handler and stay disabled;
    // Copy and Select All act on the view's selection.
    QAction* undo = AddCommand(menu, "ID_EDIT_UNDO", tr("&Undo"), tr("Undo the last action"));
    undo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    menu->addSeparator();
    QAction* cut = AddCommand(menu, "ID_EDIT_CUT", tr("Cu&t"),
                              tr("Cut the selection and put it on the Clipboard"));
    cut->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    SetButton(cut, "edit-cut", "cut", tr("Cut"));
    QAction* copy = AddCommand(menu, "ID_EDIT_COPY", tr("&Copy"),
                               tr("Copy the selection and put it on the Clipboard"));
    copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    SetButton(copy, "edit-copy", "copy", tr("Copy"));
    QAction* paste =
        AddCommand(menu, "ID_EDIT_PASTE", tr("&Paste"), tr("Insert Clipboard contents"));
    paste->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    SetButton(paste, "edit-paste", "paste", tr("Paste"));
    for (QAction* action : {undo, cut, paste})
        action->setEnabled(false);
    m_copy = copy;
    connect(copy, &QAction::triggered, m_view, &CTabulonView::OnEditCopy);
    menu->addSeparator();
    m_selectAll =
        AddCommand(menu, "ID_EDIT_SELECT_ALL", tr("Select &All"), tr("Select the entire document"));
    m_selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(m_selectAll, &QAction::triggered, m_view, &CTabulonView::OnEditSelectAll);
    menu->addSeparator();
    QAction* find =
        AddCommand(menu, "ID_EDIT_FIND", tr("&Find..."), tr("Find text in the journal"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] { GetFindBar()->Open(); });
    QAction* findNext = AddCommand(menu, "ID_EDIT_REPEAT", tr("Find &Next"),
                                   tr("Find the next line that holds the text"));
    findNext->setShortcut(QKeySequence(Qt::Key_F3));
    connect(findNext, &QAction::triggered, this, [this] { GetFindBar()->FindNext(true); });
    QAction* findPrevious = AddCommand(menu, "ID_EDIT_FIND_PREVIOUS", tr("Find Pre&vious"),
                                       tr("Find the previous line that holds the text"));
    findPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(findPrevious, &QAction::triggered, this, [this] { GetFindBar()->FindNext(false); });
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateToolBar() {
    m_toolBar->setObjectName(QStringLiteral("AFX_IDW_TOOLBAR"));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setIconSize(QSize(16, 16));
    for (const char* id :
         {"ID_FILE_NEW", "ID_FILE_OPEN", "ID_FILE_SAVE", "", "ID_EDIT_CUT", "ID_EDIT_COPY",
          "ID_EDIT_PASTE", "", "ID_TYPE_INSURANCE", "ID_TYPE_PENSION", "ID_TYPE_PRODUCT", "",
          "ID_FILE_PRINT", "ID_VIEW_CHARTS", "ID_APP_ABOUT"}) {
        if (*id)
            m_toolBar->addAction(findChild<QAction*>(QLatin1String(id)));
        else
            m_toolBar->addSeparator();
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateViewMenu(QMenu* menu) {
    QAction* toolBar = m_toolBar->toggleViewAction();
    toolBar->setObjectName(QStringLiteral("ID_VIEW_TOOLBAR"));
    toolBar->setText(tr("&Toolbar"));
    toolBar->setStatusTip(tr("Show or hide the toolbar"));
    menu->addAction(toolBar);
    QAction* status = AddCommand(menu, "ID_VIEW_STATUS_BAR", tr("&Status Bar"),
                                 tr("Show or hide the status bar"));
    status->setCheckable(true);
    status->setChecked(true);
    connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    // The Charts window and its module are made the first time this shows it.
    QAction* charts = AddCommand(menu, "ID_VIEW_CHARTS", tr("&Charts"),
                                 tr("Show or hide the charts of the last calculation"));
    charts->setCheckable(true);
    m_chartsCommand = charts;
    connect(charts, &QAction::triggered, this, [this](bool on) {
        if (!on && !m_charts)
            return;
        if (ChartsWindow* window = GetChartsWindow())
            window->setVisible(on);
        else
            m_chartsCommand->setChecked(false);
    });
    SetButton(charts, "office-chart-line", "charts", tr("Charts"));
    menu->addSeparator();
    // The view's zoom; printed pages keep their size.
    QAction* zoomIn =
        AddCommand(menu, "ID_VIEW_ZOOM_IN", tr("Zoom &In"), tr("Show the journal larger"));
    zoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoomIn, &QAction::triggered, m_view, &CTabulonView::ZoomIn);
    QAction* zoomOut =
        AddCommand(menu, "ID_VIEW_ZOOM_OUT", tr("Zoom &Out"), tr("Show the journal smaller"));
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(zoomOut, &QAction::triggered, m_view, &CTabulonView::ZoomOut);
    QAction* actualSize = AddCommand(menu, "ID_VIEW_ZOOM_RESET", tr("&Actual Size"),
                                     tr("Show the journal at its actual size"));
    actualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(actualSize, &QAction::triggered, m_view, [view = m_view] { view->SetZoom(100); });
}

void CMainFrame::CreateTypeMenu(QMenu* menu) {
    m_insurance = AddCommand(menu, "ID_TYPE_INSURANCE", tr("&Insurance"),
                             tr("Insurance or endowment policy"));
    m_pension = AddCommand(menu, "ID_TYPE_PENSION", tr("&Pension"), tr("Pension (annuity)"));
    m_insurance->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    m_product = AddCommand(menu, "ID_TYPE_PRODUCT", tr("P&roduct..."),
                           tr("A product of benefit legs: cover, endowments and annuities"));
    m_pension->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    m_product->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_3));
    SetButton(m_insurance, "", "insurance", tr("Insurance"));
    SetButton(m_pension, "", "pension", tr("Pension"));
    SetButton(m_product, "", "product", tr("Product"));
    connect(m_insurance, &QAction::triggered, this, [this] {
        m_doc.OnTypeInsurance();
        UpdateCommandUI();
    });
    connect(m_pension, &QAction::triggered, this, [this] {
        m_doc.OnTypePension();
        UpdateCommandUI();
    });
    connect(m_product, &QAction::triggered, this, [this] {
        m_doc.OnTypeProduct();
        UpdateCommandUI();
    });
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateTablesMenu(QMenu* menu) {
    QAction* import = AddCommand(menu, "ID_TABLES_IMPORT", tr("&Import Table..."),
                                 tr("Read a mortality table from a CSV or XTbML file"));
    QAction* remove = AddCommand(menu, "ID_TABLES_REMOVE", tr("&Remove Table..."),
                                 tr("Remove an imported mortality table"));
    connect(import, &QAction::triggered, this, &CMainFrame::OnImportTable);
    connect(remove, &QAction::triggered, this, &CMainFrame::OnRemoveTable);
    connect(menu, &QMenu::aboutToShow, this,
            [remove] { remove->setEnabled(!imported_tables::Names().isEmpty()); });
}

void CMainFrame::OnImportTable() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Import Table"), last_folder::Get(),
        tr("Mortality tables (*.csv *.xml)") + QStringLiteral(";;") + tr("CSV (*.csv)") +
            QStringLiteral(";;") + tr("XTbML (*.xml)"));
    if (path.isEmpty())
        return;
    last_folder::Remember(path);
    ImportTableFile(path);
}

bool CMainFrame::ImportTableFile(const QString& path) {
    using Outcome = imported_tables::ImportResult::Outcome;
    const imported_tables::ImportResult result = imported_tables::Import(path);
    switch (result.outcome) {
    case Outcome::Added:
        statusBar()->showMessage(
            tr("Imported the table \"%1\"; the dialogs list it after the built-in tables.")
                .arg(result.text),
            kStatusMessageTimeout);
        return true;
    case Outcome::AlreadyImported:
        QMessageBox::information(
            this, QCoreApplication::applicationName(),
            tr("The table \"%1\" in \"%2\" is imported already; nothing was added.")
                .arg(result.text, QDir::toNativeSeparators(path)));
        return false;
    case Outcome::Refused:
        QMessageBox::warning(this, QCoreApplication::applicationName(), result.text);
        return false;
    }
    return false;
}

void CMainFrame::OnRemoveTable() {
    const QStringList names = imported_tables::Names();
    if (names.isEmpty())
        return;
    bool chosen = false;
    const QString name = QInputDialog::getItem(
        this, tr("Remove Table"), tr("Imported table to remove:"), names, 0, false, &chosen);
    if (!chosen)
        return;
    if (QMessageBox::question(this, tr("Remove Table"),
                              tr("Remove the table \"%1\"? Its copy in the data folder is "
                                 "deleted; the journal keeps its reports.")
                                  .arg(name),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString failure = imported_tables::Remove(static_cast<int>(names.indexOf(name)));
    if (!failure.isEmpty())
        QMessageBox::warning(this, QCoreApplication::applicationName(), failure);
    else
        statusBar()->showMessage(tr("Removed the table \"%1\".").arg(name), kStatusMessageTimeout);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("AFX_IDW_STATUS_BAR"));
    // A normal status-bar widget gives way to the prompts of menu items and buttons.
    auto* ready = new QLabel(tr("Ready"), bar);
    ready->setObjectName(QStringLiteral("ID_SEPARATOR"));
    bar->addWidget(ready, 1);
    // The last calculation's key figure stays in sight, however far the report scrolls.
    m_keyFigure = new QLabel(bar);
    m_keyFigure->setObjectName(QStringLiteral("KeyFigure"));
    m_keyFigure->setToolTip(tr("The figure the last calculation solved for"));
    bar->addPermanentWidget(m_keyFigure);
    new LockKeyPanes(bar);
}

void CMainFrame::UpdateCommandUI() {
    ActionCmdUI insurance(m_insurance);
    m_doc.OnUpdateTypeInsurance(&insurance);
    ActionCmdUI pension(m_pension);
    m_doc.OnUpdateTypePension(&pension);
    ActionCmdUI product(m_product);
    m_doc.OnUpdateTypeProduct(&product);
    ActionCmdUI copy(m_copy);
    m_view->OnUpdateEditCopy(&copy);
    ActionCmdUI selectAll(m_selectAll);
    m_view->OnUpdateEditSelectAll(&selectAll);
}

void CMainFrame::UpdateCaption() {
    setWindowTitle(QStringLiteral("%1[*] - Tabulon").arg(m_docManager.GetTitle()));
    setWindowModified(m_doc.IsModified());
}

void CMainFrame::UpdateRecentFileMenu() {
    qDeleteAll(m_recentFileActions);
    m_recentFileActions.clear();
    const QStringList entries = m_docManager.GetRecentFiles().Entries();
    if (entries.isEmpty()) {
        auto* placeholder = new QAction(tr("Recent File"), m_fileMenu);
        placeholder->setObjectName(QStringLiteral("ID_FILE_MRU_FILE1"));
        placeholder->setEnabled(false);
        m_recentFileActions.append(placeholder);
    }
    for (int i = 0; i < entries.size(); ++i) {
        const QString shown =
            fontMetrics().elidedText(QDir::toNativeSeparators(entries[i]), Qt::ElideMiddle,
                                     50 * fontMetrics().averageCharWidth());
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QString(shown).replace(
                                       QLatin1Char('&'), QLatin1String("&&"))),
                                   m_fileMenu);
        action->setObjectName(QStringLiteral("ID_FILE_MRU_FILE%1").arg(i + 1));
        action->setStatusTip(tr("Open this document"));
        action->setData(entries[i]);
        connect(action, &QAction::triggered, this,
                [this, path = entries[i]] { m_docManager.OpenDocumentFile(path); });
        m_recentFileActions.append(action);
    }
    m_fileMenu->insertActions(m_exitSeparator, m_recentFileActions);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_docManager.SaveModified()) {
        SaveSettings();
        event->accept();
    } else {
        event->ignore();
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    OpenDroppedFiles(paths);
}

void CMainFrame::OpenDroppedFiles(const QStringList& paths) {
    // Each file is opened as File Open opens it, its lines joining the journal; a file that
    // reads as a mortality table is imported or opened as the user chooses, so that a table
    // file does not become the journal's file, which File Save would overwrite.
    for (const QString& path : paths) {
        if (imported_tables::HoldsTable(path)) {
            QMessageBox ask(
                QMessageBox::Question, QCoreApplication::applicationName(),
                tr("\"%1\" holds a mortality table.").arg(QDir::toNativeSeparators(path)),
                QMessageBox::NoButton, this);
            ask.setInformativeText(tr("Import it as a table for the dialogs, or open it as "
                                      "text in the journal?"));
            QPushButton* import = ask.addButton(tr("Import as a table"), QMessageBox::AcceptRole);
            QPushButton* open = ask.addButton(tr("Open as journal text"), QMessageBox::ActionRole);
            ask.addButton(QMessageBox::Cancel);
            ask.setDefaultButton(import);
            ask.exec();
            if (ask.clickedButton() == import) {
                ImportTableFile(path);
                continue;
            }
            if (ask.clickedButton() != open)
                break;
        }
        if (!m_docManager.OpenDocumentFile(path))
            break;
    }
}
