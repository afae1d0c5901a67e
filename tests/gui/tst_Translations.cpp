// SPDX-License-Identifier: GPL-3.0-or-later
// The interface in German: the language taken from the locale, translated menus, dialogs and
// Qt's standard buttons, unique accelerators, and report lines that stay as they are.
#include "DialogBase.h"
#include "FindBar.h"
#include "GuiTestMain.h"
#include "InsuranceDialog.h"
#include "LifeCharts.h"
#include "MainFrame.h"
#include "PensionDialog.h"
#include "PolicyInputDialog.h"
#include "ShellTestSupport.h"
#include "Translations.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <optional>

using namespace shell_test;

Q_DECLARE_METATYPE(PolicyKind)

namespace {

QStringList g_messages;

// The report of a term-life calculation with both sections, run through the real dialog:
// the script, if any, edits the dialog before both boxes are checked and OK is pressed.
std::vector<std::string> ReportThroughTheDialog(const std::function<void(QDialog*)>& script) {
    CTabulonDoc doc;
    doc.SetValuesPrompt([](PolicyKind kind, const PolicyDialogData& opening) {
        return PromptPolicyValues(nullptr, kind, opening);
    });
    QTimer::singleShot(0, [script] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (script)
            script(dialog);
        for (const char* box : {"IDC_SHOW_MORTALITY", "IDC_SHOW_NET_INCOME"})
            dialog->findChild<QCheckBox*>(QLatin1String(box))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
        if (dialog->isVisible())
            dialog->reject();
    });
    doc.OnTypeInsurance();
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < doc.GetLines()->GetCount(); ++i)
        lines.emplace_back(doc.GetLines()->GetAt(i));
    return lines;
}

// The character after each single '&' of the texts, in lower case.
QStringList Accelerators(const QStringList& texts) {
    QStringList keys;
    for (const QString& text : texts) {
        for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size();
             i = text.indexOf(QLatin1Char('&'), i + 2)) {
            if (text[i + 1] != QLatin1Char('&'))
                keys << text[i + 1].toLower();
        }
    }
    return keys;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { g_messages.clear(); }
    void cleanup() { m_translations.reset(); }
    void LanguageComesFromTheLocale_data();
    void LanguageComesFromTheLocale();
    void MainWindowSpeaksGerman();
    void AcceleratorsAreUniqueWithinEachMenu();
    void DialogsSpeakGerman_data();
    void DialogsSpeakGerman();
    void QtStandardButtonsSpeakGerman();
    void FileMessagesSpeakGerman_data();
    void FileMessagesSpeakGerman();
    void ReportLinesStayTheSameInGerman();
    void ChartTitlesNameTheCalculationInGerman();

private:
    void UseGerman() { m_translations.emplace(QLocale(QStringLiteral("de_DE"))); }

    QTemporaryDir m_settings;
    std::optional<Translations> m_translations;
};

void TestTranslations::initTestCase() {
    UseSettingsIn(m_settings);
    CDialog::SetMessageHandler([](CDialog*, const QString& message) { g_messages << message; });
}

void TestTranslations::LanguageComesFromTheLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QString>("fileMenu");
    QTest::newRow("German") << "de_DE" << QLocale::German << "&Datei";
    QTest::newRow("German of Austria") << "de_AT" << QLocale::German << "&Datei";
    QTest::newRow("English") << "en_GB" << QLocale::English << "&File";
    QTest::newRow("no translation") << "ja_JP" << QLocale::English << "&File";
    QTest::newRow("C locale") << "C" << QLocale::English << "&File";
}

void TestTranslations::LanguageComesFromTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QLocale::Language, language);
    QFETCH(QString, fileMenu);
    m_translations.emplace(QLocale(locale));
    QCOMPARE(m_translations->Language(), language);
    CTabulonDoc doc;
    const CMainFrame frame(doc);
    QCOMPARE(frame.menuBar()->actions().first()->text(), fileMenu);
    m_translations.reset();
    QCOMPARE(CMainFrame(doc).menuBar()->actions().first()->text(), QStringLiteral("&File"));
}

void TestTranslations::MainWindowSpeaksGerman() {
    UseGerman();
    CTabulonDoc doc;
    CMainFrame frame(doc);
    frame.GetDocManager().FileNew();
    QStringList menus;
    for (const QAction* menu : frame.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "&Versicherungsart",
                                 "&Tafeln", "&Hilfe"}));
    const auto* open = frame.findChild<QAction*>(QStringLiteral("ID_FILE_OPEN"));
    QCOMPARE(open->text(), QStringLiteral("Ö&ffnen..."));
    QCOMPARE(open->statusTip(), QStringLiteral("Öffnet ein vorhandenes Dokument"));
    QCOMPARE(frame.findChild<QAction*>(QStringLiteral("ID_FILE_PRINT"))->toolTip(),
             QStringLiteral("Drucken"));
    QCOMPARE(frame.findChild<QAction*>(QStringLiteral("ID_TYPE_PENSION"))->text(),
             QStringLiteral("&Rente"));
    QCOMPARE(frame.findChild<QLabel*>(QStringLiteral("ID_SEPARATOR"))->text(),
             QStringLiteral("Bereit"));
    QCOMPARE(frame.windowTitle(), QStringLiteral("Unbenannt[*] - Tabulon"));
    // Find, zoom and the second chart's title.
    QCOMPARE(frame.findChild<QAction*>(QStringLiteral("ID_EDIT_FIND"))->text(),
             QStringLiteral("&Suchen..."));
    QCOMPARE(frame.findChild<QAction*>(QStringLiteral("ID_VIEW_ZOOM_IN"))->text(),
             QStringLiteral("Ver&größern"));
    // The find bar is made when first used.
    QCOMPARE(frame.GetFindBar()->findChild<QToolButton*>(QStringLiteral("FindNextButton"))->text(),
             QStringLiteral("&Weiter"));
    QCOMPARE(LifeCharts::tr("Distribution of the age at death"),
             QStringLiteral("Verteilung des Sterbealters"));
}

void TestTranslations::AcceleratorsAreUniqueWithinEachMenu() {
    UseGerman();
    CTabulonDoc doc;
    const CMainFrame frame(doc);
    QStringList titles;
    for (const QAction* menuAction : frame.menuBar()->actions()) {
        titles << menuAction->text();
        QStringList items;
        for (const QAction* item : menuAction->menu()->actions())
            items << item->text();
        const QStringList keys = Accelerators(items);
        QVERIFY2(keys.size() == QSet<QString>(keys.begin(), keys.end()).size(),
                 qPrintable(menuAction->text() + ": " + items.join(" | ")));
    }
    const QStringList keys = Accelerators(titles);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), titles.size());
}

void TestTranslations::DialogsSpeakGerman_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("firstPolicy");
    QTest::newRow("insurance") << PolicyKind::Insurance
                               << "Lebensversicherung oder gemischte Versicherung"
                               << "Lebenslange Todesfallversicherung";
    QTest::newRow("pension") << PolicyKind::Pension << "Rente oder Leibrente"
                             << "Lebenslange Leibrente";
}

void TestTranslations::DialogsSpeakGerman() {
    QFETCH(PolicyKind, kind);
    QFETCH(QString, caption);
    QFETCH(QString, firstPolicy);
    UseGerman();
    std::unique_ptr<PolicyInputDialog> made;
    if (kind == PolicyKind::Insurance)
        made = std::make_unique<CInsuranceDialog>();
    else
        made = std::make_unique<CPensionDialog>();
    PolicyInputDialog* dialog = made.get();
    made->m_nInputKind = 1;
    made->m_nAge = 107;
    dialog->show();
    QCOMPARE(dialog->windowTitle(), caption);
    const auto* tables = dialog->findChild<QListWidget*>(QStringLiteral("IDC_TABLE_LIST"));
    QCOMPARE(tables->item(1)->text(), QStringLiteral("National, Frauen"));
    QCOMPARE(dialog->findChild<QListWidget*>(QStringLiteral("IDC_POLICY_LIST"))->item(0)->text(),
             firstPolicy);
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("IDC_TABLE_LABEL"))->text(),
             QStringLiteral("Sterbetafel wählen:"));
    QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->text(),
             QStringLiteral("Abbrechen"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("IDOK")), Qt::LeftButton);
    QCOMPARE(g_messages,
             QStringList{"Alter des Antragstellers: 107 liegt außerhalb des zulässigen Bereichs; "
                         "bitte geben Sie eine ganze Zahl von 0 bis 106 ein."});
    dialog->reject();
}

void TestTranslations::QtStandardButtonsSpeakGerman() {
    UseGerman();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tabulon"), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel);
    if (box.button(QMessageBox::Cancel)->text() == QLatin1String("Cancel"))
        QSKIP("Qt's own German translation (qt6-translations-l10n) is not installed");
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

void TestTranslations::FileMessagesSpeakGerman_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("start"); // the reason of the system follows in its own language
    QTest::newRow("a device")
        << "/dev/null"
        << "„/dev/null“ kann nicht geöffnet werden: es ist keine normale Datei.";
    QTest::newRow("a missing file") << "/nonexistent/journal.txt"
                                    << "„/nonexistent/journal.txt“ kann nicht geöffnet werden: ";
}

void TestTranslations::FileMessagesSpeakGerman() {
    QFETCH(QString, path);
    QFETCH(QString, start);
    UseGerman();
    CTabulonDoc doc;
    CMainFrame frame(doc);
    QString message;
    frame.GetDocManager().SetWarning([&message](const QString& text) { message = text; });
    QVERIFY(!frame.GetDocManager().OpenDocumentFile(path));
    QVERIFY2(message.startsWith(start), qPrintable(message));
}

void TestTranslations::ReportLinesStayTheSameInGerman() {
    const std::vector<std::string> english = ReportThroughTheDialog(nullptr);
    QVERIFY(english.size() > 50); // both sections
    UseGerman();
    bool german = false;
    const std::vector<std::string> inGerman = ReportThroughTheDialog([&german](QDialog* dialog) {
        german = dialog->windowTitle().startsWith(QLatin1String("Lebensversicherung"));
    });
    QVERIFY(german);
    QCOMPARE(inGerman, english);
}

void TestTranslations::ChartTitlesNameTheCalculationInGerman() {
    ChartSeries series;
    series.policyName = "Term life insurance";
    series.tableName = "National, male";
    series.age = 40;
    series.usesTerm = true;
    series.term = 10;
    series.rate = 4;
    UseGerman();
    QCOMPARE(LifeCharts::Describe(series),
             (QStringList{QStringLiteral("Risikolebensversicherung, Tafel National, Männer"),
                          QStringLiteral("Alter 40, Laufzeit 10 Jahre, Zins 4 %")}));
    // An imported table keeps its own name.
    series.tableName = "2017 CSO Ultimate";
    QCOMPARE(LifeCharts::Describe(series).front(),
             QStringLiteral("Risikolebensversicherung, Tafel 2017 CSO Ultimate"));
}

TABULON_GUI_TEST_MAIN(TestTranslations)
#include "tst_Translations.moc"
