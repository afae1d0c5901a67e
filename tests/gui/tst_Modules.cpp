// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window and printing come from modules, each loaded the first time it is wanted:
// the program starts without Qt Charts, SVG and Qt's printing library, and a module that
// cannot be found is named in the message. This test links neither of them, as the program
// does not.
#include "AppIcon.h"
#include "ChartsModule.h"
#include "ChartsWindow.h"
#include "GuiTestMain.h"
#include "MainFrame.h"
#include "ModuleLoader.h"
#include "ShellTestSupport.h"

#include <QAction>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace shell_test;

namespace {

// Whether a loaded file's name holds part, from the process's own map of its memory.
bool Loaded(const char* part) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(part);
}

} // namespace

class TestModules : public QObject, protected MainWindowTest {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void cleanup() { CloseMainWindow(); }
    void MissingModuleIsNamedWithWhereItWasLookedFor();
    void ModulesAreLoadedWhenTheChartsAndPrintingAreFirstWanted();
};

void TestModules::MissingModuleIsNamedWithWhereItWasLookedFor() {
    const QTemporaryDir empty;
    module_loader::SetFolder(empty.path());
    CTabulonDoc doc;
    PrintCommands printCommands(nullptr, [](QPrinter*) { return 0; });
    QString error;
    QVERIFY(!charts_module::Create(doc, printCommands, nullptr, error));
    QVERIFY2(error.contains(QLatin1String("\"tabulon-charts.so\" is missing")), qPrintable(error));
    QVERIFY2(error.contains(empty.path()), qPrintable(error));
    // Printing says so too, and a PDF file asked for is not made.
    const QString pdf = empty.filePath(QStringLiteral("journal.pdf"));
    QVERIFY(!printCommands.PrintToPdf(QFile::encodeName(pdf), error));
    QVERIFY2(error.startsWith(QLatin1String("Cannot print: the module \"tabulon-print.so\" is "
                                            "missing")),
             qPrintable(error));
    QVERIFY2(error.contains(empty.path()), qPrintable(error));
    QVERIFY(!QFile::exists(pdf));
    for (const char* library : {"libQt6Charts", "libQt6PrintSupport"})
        QVERIFY2(!Loaded(library), library);
}

void TestModules::ModulesAreLoadedWhenTheChartsAndPrintingAreFirstWanted() {
    module_loader::SetFolder(QStringLiteral(TABULON_BUILT_MODULE_DIR));
    QApplication::setStyle(StyleWithPngToolBarArrows()); // as the program's start does
    QVERIFY(ShowMainWindow(1000, 700));
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok, nullptr, TermLifeWithBothSections()));
    Action("ID_TYPE_INSURANCE")->trigger();
    // Started, painted and calculated without the charts' libraries, and without the image
    // plugins (SVG, JPEG...), which asking an image's format would have loaded.
    for (const char* library :
         {"libQt6Charts", "libQt6OpenGLWidgets", "tabulon-charts.so", "libQt6Svg", "imageformats/",
          "libQt6PrintSupport", "tabulon-print.so"})
        QVERIFY2(!Loaded(library), library);

    Action("ID_VIEW_CHARTS")->trigger();
    ChartsWindow* window = m_frame->GetChartsWindow();
    QVERIFY(window && window->isVisible());
    QVERIFY(Action("ID_VIEW_CHARTS")->isChecked());
    for (const char* library : {"libQt6Charts", "libQt6OpenGLWidgets", "tabulon-charts.so"})
        QVERIFY2(Loaded(library), library);
    // The last calculation's three charts, drawn.
    for (const char* name : {"LivingChartView", "DeathChartView", "NetIncomeChartView"}) {
        auto* view = window->findChild<QGraphicsView*>(QLatin1String(name));
        QVERIFY2(view && view->isVisible(), name);
        QVERIFY(view->scene()->items().size() > 10);
    }
    const QImage shown = window->grab().toImage();
    QVERIFY(!shown.isNull());

    // Closed by its command and shown again, the same window.
    Action("ID_VIEW_CHARTS")->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(!Action("ID_VIEW_CHARTS")->isChecked());
    Action("ID_VIEW_CHARTS")->trigger();
    QCOMPARE(m_frame->GetChartsWindow(), window);
    QVERIFY(window->isVisible());

    // Printing the journal into a PDF file loads printing's module and Qt's printing library.
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("journal.pdf"));
    QString error;
    QVERIFY2(m_frame->GetPrintCommands().PrintToPdf(QFile::encodeName(pdf), error),
             qPrintable(error));
    QFile printed(pdf);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QVERIFY(printed.read(5) == "%PDF-");
    for (const char* library : {"libQt6PrintSupport", "tabulon-print.so"})
        QVERIFY2(Loaded(library), library);
}

TABULON_GUI_TEST_MAIN(TestModules)
#include "tst_Modules.moc"
