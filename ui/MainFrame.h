// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menu, accelerators, toolbar and status bar around the journal view.
#pragma once

#include "DocManager.h"
#include "PrintCommands.h"

#include <QList>
#include <QMainWindow>

class ChartsWindow;
class FindBar;
class CTabulonDoc;
class CTabulonView;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

// Actions carry their command names as object names ("ID_FILE_NEW", ...), the toolbar is
// "AFX_IDW_TOOLBAR" and the recent-file entries "ID_FILE_MRU_FILE1" to "4".
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CTabulonDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTabulonView* GetView() const { return m_view; }
    // The Charts window, made when first asked for (its module is loaded then); null, after
    // a message saying why, when the module cannot be loaded.
    ChartsWindow* GetChartsWindow();
    CDocManager& GetDocManager() { return m_docManager; }
    PrintCommands& GetPrintCommands() { return m_printCommands; }
    // The find bar under the view, made when first used.
    FindBar* GetFindBar();

    // The key figure of the last calculation the status bar shows: the solved premium,
    // payment or amount, as the report prints it (a product's net premium with two
    // decimals); empty before the first calculation.
    static QString KeyFigure(const CTabulonDoc& doc);

    // Imports the mortality table in the file at path as Tables > Import Table does, saying
    // the outcome: in the status bar when added, in a message box otherwise. True when added.
    bool ImportTableFile(const QString& path);
    // Opens files dropped on the window; each one that holds a mortality table asks whether
    // to import it as a table or open it as journal text (Cancel stops there).
    void OpenDroppedFiles(const QStringList& paths);

    // Sets the policy-type check marks from the document's update handlers, and enables
    // Copy and Select All from the view's.
    void UpdateCommandUI();

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateFileMenu(QMenu* menu);
    void CreateEditMenu(QMenu* menu);
    void CreateViewMenu(QMenu* menu);
    void CreateTypeMenu(QMenu* menu);
    void CreateTablesMenu(QMenu* menu);
    void OnImportTable();
    void OnRemoveTable();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* AddCommand(QMenu* menu, const char* id, const QString& text, const QString& prompt);
    static void SetButton(QAction* action, const char* themeIcon, const char* iconFile,
                          const QString& toolTip);
    void UpdateCaption();
    void UpdateRecentFileMenu();
    // The window's size, place, toolbar and Charts window, and the view's zoom, as they were
    // when the window last closed; saved when it closes.
    void RestoreSettings();
    void SaveSettings() const;
    // Makes the Charts window: in the place it had when the window last closed when that
    // was saved, otherwise docked at the right, hidden.
    ChartsWindow* CreateChartsWindow();
    // Open and Save As start in the folder a file was last opened from or saved to.
    QString ChooseFile(bool save);

    CTabulonDoc& m_doc;
    CTabulonView* m_view;
    CDocManager m_docManager;
    PrintCommands m_printCommands;
    ChartsWindow* m_charts = nullptr;
    QAction* m_chartsCommand = nullptr;
    FindBar* m_findBar = nullptr;
    QLabel* m_keyFigure = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_exitSeparator = nullptr;
    QList<QAction*> m_recentFileActions;
    QAction* m_insurance = nullptr;
    QAction* m_pension = nullptr;
    QAction* m_product = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_selectAll = nullptr;
};
