// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window: it follows each calculation through the record, leaves out values that
// are not defined, shows exact values on hovering, and saves and prints the charts.
#include "ChartSeries.h"
#include "ChartsWindow.h"
#include "GuiTestMain.h"
#include "LifeCharts.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "Translations.h"

#include <QAction>
#include <QApplication>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDir>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScatterSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>

using namespace shell_test;

Q_DECLARE_METATYPE(PolicyDialogData)

namespace {

template <class Series> Series* Find(QChart* chart, const char* name) {
    for (QAbstractSeries* series : chart->series())
        if (series->objectName() == QLatin1String(name))
            return qobject_cast<Series*>(series);
    return nullptr;
}

QValueAxis* AxisOf(QChart* chart, Qt::Orientation orientation) {
    return qobject_cast<QValueAxis*>(chart->axes(orientation).value(0));
}

PolicyDialogData PolicyValues(int policyIndex, int age, int term, int tableIndex = 0) {
    PolicyDialogData values = TermLifeWithBothSections();
    values.m_nPolicyIndex = policyIndex;
    values.m_nAge = age;
    values.m_nTerm = term;
    values.m_nTableIndex = tableIndex;
    return values;
}

} // namespace

class TestChartsWindow : public QObject, protected MainWindowTest {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void init() { QVERIFY(ShowMainWindow(1000, 700)); }
    void cleanup() { CloseMainWindow(); }
    void SaysNoCalculationYetBeforeTheFirst();
    void FollowsEachCalculation_data();
    void FollowsEachCalculation();
    void LeavesOutValuesThatAreNotDefined_data();
    void LeavesOutValuesThatAreNotDefined();
    void HoveringAPointShowsItsAgeAndValueAsReported();
    void SaveImageWritesAWholePngOrSvg_data();
    void SaveImageWritesAWholePngOrSvg();
    void SaveImageFailureNamesTheFileAndTheReason_data();
    void SaveImageFailureNamesTheFileAndTheReason();
    void PrintPreviewShowsTheChartsOnOnePage();
    void AxisTitlesFitTheDockedWindow_data();
    void AxisTitlesFitTheDockedWindow();
    void ChartsOutOfSightAreFilledWhenScrolledTo();
    void AxisLinesLookAsTheThemeDrawsThem();

private:
    void Calculate(bool pension, const PolicyDialogData& values) {
        m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok, nullptr, values));
        Action(pension ? "ID_TYPE_PENSION" : "ID_TYPE_INSURANCE")->trigger();
    }
    LifeCharts* Charts() const { return m_frame->GetChartsWindow()->GetCharts(); }
    // Scrolls each chart into sight in turn, as the user would to read it: a chart out of
    // sight is filled when it is first painted.
    void ScrollThroughCharts() const {
        auto* area =
            m_frame->GetChartsWindow()->findChild<QScrollArea*>(QStringLiteral("ChartsArea"));
        for (QChart* chart : Charts()->GetCharts()) {
            area->ensureWidgetVisible(
                area->findChild<QWidget*>(chart->objectName() + QStringLiteral("Title")));
            QTRY_VERIFY(Charts()->IsFilled(chart));
        }
    }
    // A chart's title, its lines one under the other.
    QString Title(const QChart* chart) const { return Charts()->GetTitle(chart).Text(); }
};

void TestChartsWindow::SaysNoCalculationYetBeforeTheFirst() {
    ChartsWindow* window = m_frame->GetChartsWindow();
    QVERIFY(!window->isVisible());
    Action("ID_VIEW_CHARTS")->trigger();
    QVERIFY(window->isVisible());
    QVERIFY(Action("ID_VIEW_CHARTS")->isChecked());
    auto* nothing = window->findChild<QLabel*>(QStringLiteral("NoCalculation"));
    QVERIFY(nothing && nothing->isVisible());
    QCOMPARE(nothing->text(), QStringLiteral("No calculation yet"));
    auto* hint = window->findChild<QLabel*>(QStringLiteral("NoCalculationHint"));
    QVERIFY(hint && hint->isVisible());
    QVERIFY(hint->text().contains(QLatin1String("Type of policy > Insurance or Pension")));
    for (const char* id : {"ID_CHARTS_SAVE_IMAGE", "ID_CHARTS_PRINT", "ID_CHARTS_PRINT_PREVIEW"})
        QVERIFY(!Action(id)->isEnabled());
    QString error;
    QVERIFY(!window->SaveImage(QDir(m_settings.path()).filePath(QStringLiteral("c.png")), error));
    QVERIFY(error.contains(QLatin1String("no calculation yet")));

    Calculate(false, TermLifeWithBothSections());
    QVERIFY(!nothing->isVisible());
    for (const char* id : {"ID_CHARTS_SAVE_IMAGE", "ID_CHARTS_PRINT", "ID_CHARTS_PRINT_PREVIEW"})
        QVERIFY(Action(id)->isEnabled());
    // A new journal keeps the record, and with it the charts.
    m_frame->GetDocManager().FileNew();
    QVERIFY(!nothing->isVisible());
}

void TestChartsWindow::FollowsEachCalculation_data() {
    QTest::addColumn<bool>("pension");
    QTest::addColumn<PolicyDialogData>("values");
    QTest::addColumn<bool>("hiddenWhileCalculating");
    QTest::addColumn<QStringList>("described");
    QTest::newRow("term life at 40 for 20 years")
        << false << TermLifeWithBothSections() << false
        << QStringList{QStringLiteral("Term life insurance, National, male table"),
                       QStringLiteral("age 40, term 20 years, rate 4%")};
    QTest::newRow("whole life at 0, calculated while hidden")
        << false << PolicyValues(0, 0, 5, 1) << true
        << QStringList{QStringLiteral("Whole life insurance, National, female table"),
                       QStringLiteral("age 0, rate 4%")};
    QTest::newRow("term annuity past the table")
        << true << PolicyValues(1, 60, 80, 3) << false
        << QStringList{QStringLiteral("Term annuity, Regional, female table"),
                       QStringLiteral("age 60, term 80 years, rate 4%")};
    QTest::newRow("endowment for 1 year, calculated while hidden")
        << false << PolicyValues(2, 30, 1) << true
        << QStringList{QStringLiteral("Endowment, National, male table"),
                       QStringLiteral("age 30, term 1 year, rate 4%")};
}

void TestChartsWindow::FollowsEachCalculation() {
    QFETCH(bool, pension);
    QFETCH(PolicyDialogData, values);
    QFETCH(bool, hiddenWhileCalculating);
    QFETCH(QStringList, described);
    const auto namesTheCalculation = [&](QChart* chart) {
        return std::all_of(described.begin(), described.end(),
                           [&](const QString& line) { return Title(chart).contains(line); });
    };
    ChartsWindow* window = m_frame->GetChartsWindow();
    // An earlier calculation, so that each row shows a change.
    window->show();
    Calculate(true, PolicyValues(0, 20, 5));
    window->setVisible(!hiddenWhileCalculating);
    Calculate(pension, values);
    window->show();
    ScrollThroughCharts();

    const int age = values.m_nAge;
    const int ages = m_doc->m_nAges - age;
    QChart* living = Charts()->GetLivingChart();
    QVERIFY(namesTheCalculation(living));
    const QList<QPointF> livingPoints = Find<QLineSeries>(living, "Living")->points();
    QCOMPARE(livingPoints.size(), ages);
    for (int i = 0; i < ages; ++i) {
        QCOMPARE(livingPoints[i].x(), double(age + i));
        QCOMPARE(livingPoints[i].y(), m_doc->m_dLiving[age + i]);
    }

    QChart* deaths = Charts()->GetDeathChart();
    QVERIFY(namesTheCalculation(deaths));
    // The bars are d(x) / l(age): how the age at death is distributed, not q(x).
    QCOMPARE(Charts()->GetTitle(deaths).name, QStringLiteral("Distribution of the age at death"));
    QBarSet* bars = Find<QBarSeries>(deaths, "DeathBars")->barSets().value(0);
    QCOMPARE(bars->count(), m_doc->m_nAges);
    for (int x = age; x < m_doc->m_nAges; ++x)
        QCOMPARE(bars->at(x), m_doc->m_dDeathProb[x]);
    QCOMPARE(AxisOf(deaths, Qt::Horizontal)->min(), age - 0.5);
    QCOMPARE(AxisOf(deaths, Qt::Horizontal)->max(), m_doc->m_nAges - 0.5);
    const QList<QPointF> mean = Find<QLineSeries>(deaths, "Mean")->points();
    QCOMPARE(mean.size(), 2);
    QCOMPARE(mean[0].x(), m_doc->m_dMeanAgeAtDeath);
    const QList<QPointF> spread = Find<QAreaSeries>(deaths, "Spread")->lowerSeries()->points();
    QCOMPARE(spread[1].x() - spread[0].x(), 2 * m_doc->m_dSdAgeAtDeath);

    // The net income of the report, death rows as lines and the survivors as points.
    const ChartSeries expected = BuildChartSeries(*m_doc);
    QChart* netIncome = Charts()->GetNetIncomeChart();
    QVERIFY(namesTheCalculation(netIncome));
    QVERIFY(Title(netIncome).contains(QString::number(m_doc->m_dPremium, 'f', 2)));
    const QList<QPointF> undiscounted = Find<QLineSeries>(netIncome, "Undiscounted")->points();
    const QList<QPointF> discounted = Find<QLineSeries>(netIncome, "Discounted")->points();
    QList<QPointF> survivorsUndiscounted;
    QList<QPointF> survivorsDiscounted;
    QStringList survivorNames;
    int deathRows = 0;
    for (const NetIncomeRow& row : expected.netIncome) {
        if (row.survivors) {
            if (row.valuesShown) {
                survivorsUndiscounted << QPointF(row.age, row.undiscounted);
                survivorsDiscounted << QPointF(row.age, row.discounted);
                survivorNames << QStringLiteral("%1+ undiscounted").arg(row.age)
                              << QStringLiteral("%1+ discounted").arg(row.age);
            }
            continue;
        }
        QCOMPARE(undiscounted.value(deathRows), QPointF(row.age, row.undiscounted));
        QCOMPARE(discounted.value(deathRows), QPointF(row.age, row.discounted));
        ++deathRows;
    }
    QCOMPARE(undiscounted.size(), deathRows);
    QCOMPARE(discounted.size(), deathRows);
    // Each survivor marker has its own colour and legend entry.
    auto* undiscountedSurvivors = Find<QScatterSeries>(netIncome, "SurvivorsUndiscounted");
    auto* discountedSurvivors = Find<QScatterSeries>(netIncome, "SurvivorsDiscounted");
    QCOMPARE(undiscountedSurvivors->points(), survivorsUndiscounted);
    QCOMPARE(discountedSurvivors->points(), survivorsDiscounted);
    QVERIFY(undiscountedSurvivors->color() != discountedSurvivors->color());
    QStringList shownNames;
    for (QLegendMarker* marker : netIncome->legend()->markers())
        if (marker->series() == undiscountedSurvivors || marker->series() == discountedSurvivors)
            if (marker->series()->isVisible())
                shownNames << marker->label();
    QCOMPARE(shownNames, survivorNames);
    QCOMPARE(Find<QLineSeries>(netIncome, "Edni")->points().value(0).y(), expected.edni);
}

void TestChartsWindow::LeavesOutValuesThatAreNotDefined_data() {
    QTest::addColumn<bool>("pension");
    QTest::addColumn<int>("policyIndex");
    QTest::addColumn<QString>("netIncomeNote");
    QTest::newRow("whole life") << false << 0
                                << QStringLiteral("Not defined at age 106: left out.");
    // The survivors of a term to 107 are there too.
    QTest::newRow("endowment") << false << 2
                               << QStringLiteral("Not defined at ages 106 to 107: left out.");
    QTest::newRow("life annuity") << true << 0
                                  << QStringLiteral("Not defined at age 106: left out.");
}

// Nobody of table 3 lives at 106: every probability there is 0/0, and so is every value
// calculated from them.
void TestChartsWindow::LeavesOutValuesThatAreNotDefined() {
    QFETCH(bool, pension);
    QFETCH(int, policyIndex);
    QFETCH(QString, netIncomeNote);
    ChartsWindow* window = m_frame->GetChartsWindow();
    window->show();
    Calculate(pension, PolicyValues(policyIndex, 106, 1, 2));
    ScrollThroughCharts();
    QVERIFY(std::isnan(m_doc->m_dDeathProb[106]));

    QChart* deaths = Charts()->GetDeathChart();
    QVERIFY(Charts()->GetTitle(deaths).notes.contains(
        QStringLiteral("Not defined at age 106: left out.")));
    QVERIFY(Title(deaths).contains(QLatin1String("not defined")));
    QCOMPARE(Find<QBarSeries>(deaths, "DeathBars")->barSets().value(0)->at(106), 0.0);
    QVERIFY(!Find<QLineSeries>(deaths, "Mean")->isVisible());
    QVERIFY(Find<QLineSeries>(deaths, "Mean")->points().isEmpty());
    QChart* netIncome = Charts()->GetNetIncomeChart();
    QVERIFY(Charts()->GetTitle(netIncome).notes.contains(netIncomeNote));
    QVERIFY(Find<QLineSeries>(netIncome, "Undiscounted")->points().isEmpty());
    QVERIFY(!Find<QLineSeries>(netIncome, "Edni")->isVisible());
    for (QChart* chart : {Charts()->GetLivingChart(), deaths, netIncome})
        for (QAbstractAxis* axis : chart->axes()) {
            auto* values = qobject_cast<QValueAxis*>(axis);
            QVERIFY(std::isfinite(values->min()) && std::isfinite(values->max()));
            QVERIFY(values->min() < values->max());
        }
    // Each title on the screen grows to hold its notes.
    for (QChart* chart : Charts()->GetCharts()) {
        auto* title = window->findChild<QWidget*>(chart->objectName() + QStringLiteral("Title"));
        QVERIFY(title);
        QTRY_VERIFY(title->height() >= Charts()->GetTitle(chart).Height(title->font()));
        QCOMPARE(title->accessibleName(), Title(chart));
    }
    QVERIFY(!window->grab().isNull());
}

// The tooltips' figures are the report's: the same numbers as the journal's lines show.
void TestChartsWindow::HoveringAPointShowsItsAgeAndValueAsReported() {
    m_frame->GetChartsWindow()->show();
    Calculate(false, TermLifeWithBothSections());
    // The blank-separated fields of the report line that starts with the age (the net
    // income's rows of the survivors with a '+').
    const auto reportFields = [this](const QString& age, int width) {
        for (const std::string& line : testing_support::LinesFrom(*m_doc)) {
            const QString text = QString::fromStdString(line);
            if (text.left(width).trimmed() == age && text.size() > width + 20)
                return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        }
        return QStringList();
    };
    const QStringList mortality = reportFields(QStringLiteral("62"), 5);
    const QStringList living = reportFields(QStringLiteral("50"), 5);
    const QStringList death = reportFields(QStringLiteral("41"), 9);
    const QStringList alive = reportFields(QStringLiteral("60+"), 9);
    QCOMPARE(mortality.size(), 7);
    QCOMPARE(death.size(), 4);
    QCOMPARE(alive.size(), 4);

    QBarSet* bars = Find<QBarSeries>(Charts()->GetDeathChart(), "DeathBars")->barSets().value(0);
    emit bars->hovered(true, 62);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Age 62: probability of death ") + mortality[4]);
    emit Find<QLineSeries>(Charts()->GetLivingChart(), "Living")->hovered(QPointF(49.8, 1), true);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Age 50: %1 living").arg(living.value(1)));
    QChart* netIncome = Charts()->GetNetIncomeChart();
    emit Find<QLineSeries>(netIncome, "Discounted")->hovered(QPointF(41.2, -5), true);
    QTRY_COMPARE(QToolTip::text(),
                 QStringLiteral("Death at age 41: discounted net income ") + death[3]);
    emit Find<QScatterSeries>(netIncome, "SurvivorsUndiscounted")->hovered(QPointF(60, 0), true);
    QTRY_COMPARE(QToolTip::text(),
                 QStringLiteral("Alive at 60: undiscounted net income ") + alive[2]);
    emit bars->hovered(false, 62);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestChartsWindow::SaveImageWritesAWholePngOrSvg_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("PNG") << QStringLiteral("charts.png");
    QTest::newRow("SVG") << QStringLiteral("charts.SVG");
}

void TestChartsWindow::SaveImageWritesAWholePngOrSvg() {
    QFETCH(QString, name);
    Calculate(false, TermLifeWithBothSections());
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    WriteFile(path, "an older file");
    // Through the command, as the user saves, while the window is hidden.
    ChartsWindow* window = m_frame->GetChartsWindow();
    QStringList warnings;
    window->SetFileChooser([&] { return path; });
    window->SetWarning([&](const QString& message) { warnings.append(message); });
    Action("ID_CHARTS_SAVE_IMAGE")->trigger();
    QCOMPARE(warnings, QStringList());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});

    const QByteArray bytes = ReadFile(path);
    if (name.endsWith(QLatin1String(".png"))) {
        QVERIFY(bytes.startsWith("\x89PNG\r\n"));
        const QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 760 && image.height() > image.width());
    } else {
        QVERIFY(bytes.startsWith("<?xml"));
        QVERIFY(bytes.contains("<svg"));
        QVERIFY(bytes.contains("Term life insurance"));
        // Every font names the generic family, so that any viewer draws a sans-serif font.
        QVERIFY(bytes.contains("font-family="));
        QCOMPARE(bytes.count("font-family="),
                 bytes.count(", sans-serif\"") + bytes.count("font-family=\"sans-serif\""));
        QVERIFY(QSvgRenderer(path).isValid());
    }
}

void TestChartsWindow::SaveImageFailureNamesTheFileAndTheReason_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    // The system's reason, in the language the C library speaks.
    QTest::newRow("missing folder")
        << QStringLiteral("missing/charts.png") << QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("a folder") << QStringLiteral("folder.svg") << QStringLiteral("not a plain file");
    QTest::newRow("a device") << QStringLiteral("/dev/null") << QStringLiteral("not a plain file");
}

void TestChartsWindow::SaveImageFailureNamesTheFileAndTheReason() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    Calculate(false, TermLifeWithBothSections());
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.svg")));
    const QString path = QDir(folder.path()).absoluteFilePath(name);
    ChartsWindow* window = m_frame->GetChartsWindow();
    QStringList warnings;
    window->SetFileChooser([&] { return path; });
    window->SetWarning([&](const QString& message) { warnings.append(message); });
    Action("ID_CHARTS_SAVE_IMAGE")->trigger();
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith(QStringLiteral("Cannot save the image \"%1\": ").arg(path)),
             qPrintable(warnings[0]));
    QVERIFY2(warnings[0].contains(reason), qPrintable(warnings[0]));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() &&
            !QFileInfo(QStringLiteral("/dev/null")).isFile());
}

void TestChartsWindow::PrintPreviewShowsTheChartsOnOnePage() {
    // The window, with its commands, is made the first time it is asked for.
    QVERIFY(m_frame->GetChartsWindow());
    Calculate(false, TermLifeWithBothSections());
    int previewPages = -1;
    QTimer::singleShot(0, this, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        if (!preview)
            return;
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        previewPages = pages ? pages->pageCount() : 0;
        preview->close();
    });
    Action("ID_CHARTS_PRINT_PREVIEW")->trigger();
    QCOMPARE(previewPages, 1);

    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("charts.pdf")));
    QCOMPARE(m_frame->GetChartsWindow()->OnPrint(&printer), 1);
    if (HavePoppler())
        QCOMPARE(PdfPageCount(printer.outputFileName()), 1);
}

void TestChartsWindow::AxisTitlesFitTheDockedWindow_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("English") << QStringLiteral("en_GB");
    QTest::newRow("German") << QStringLiteral("de_DE");
}

// Each axis title is no longer than its side of the plot, so none is cut short, in the
// window docked as it first opens beside the smallest main window of the tests. Every size
// follows the font, so this holds at any scale.
void TestChartsWindow::AxisTitlesFitTheDockedWindow() {
    QFETCH(QString, locale);
    CloseMainWindow();
    std::optional<Translations> language;
    language.emplace(QLocale(locale));
    QVERIFY(ShowMainWindow(640, 480));
    ChartsWindow* window = m_frame->GetChartsWindow();
    window->show();
    Calculate(false, TermLifeWithBothSections());
    QVERIFY(!window->isFloating());
    for (QChart* chart :
         {Charts()->GetLivingChart(), Charts()->GetDeathChart(), Charts()->GetNetIncomeChart()}) {
        QTRY_VERIFY(chart->plotArea().height() > 0);
        for (QAbstractAxis* axis : chart->axes()) {
            const qreal side = axis->orientation() == Qt::Vertical ? chart->plotArea().height()
                                                                   : chart->plotArea().width();
            const int title = QFontMetrics(axis->titleFont()).horizontalAdvance(axis->titleText());
            QVERIFY2(title <= side, qPrintable(QStringLiteral("%1: %2 > %3 in a chart %4 high")
                                                   .arg(axis->titleText())
                                                   .arg(title)
                                                   .arg(side)
                                                   .arg(chart->size().height())));
        }
    }
    // A chart title too wide for its place is cut short on the screen and shows whole in
    // its tooltip; one that fits has none.
    for (QChart* chart : Charts()->GetCharts()) {
        auto* title = window->findChild<QWidget*>(chart->objectName() + QStringLiteral("Title"));
        const int whole = title->sizeHint().width();
        for (const int width : {whole / 2, whole}) {
            title->resize(width, title->height());
            QCOMPARE(title->toolTip(), width < whole ? Title(chart) : QString());
        }
    }
    CloseMainWindow();
}

// Docked beside a small main window only the first chart is in sight: a calculation fills
// it alone, and each of the others is filled, with its title, when scrolled into sight.
void TestChartsWindow::ChartsOutOfSightAreFilledWhenScrolledTo() {
    CloseMainWindow();
    QVERIFY(ShowMainWindow(640, 480));
    ChartsWindow* window = m_frame->GetChartsWindow();
    window->show();
    Calculate(false, TermLifeWithBothSections());
    ScrollThroughCharts();
    auto* area = window->findChild<QScrollArea*>(QStringLiteral("ChartsArea"));
    area->verticalScrollBar()->setValue(0);
    QApplication::processEvents();

    Calculate(true, PolicyValues(1, 60, 80, 3));
    const QList<QChart*> charts = Charts()->GetCharts();
    QVERIFY(Charts()->IsFilled(charts.front()));
    QVERIFY(!Charts()->IsFilled(charts.back()));
    ScrollThroughCharts();
    QVERIFY(Title(charts.back()).contains(QLatin1String("Term annuity, Regional, female table")));
    QVERIFY(Title(charts.back()).contains(QString::number(m_doc->m_dPremium, 'f', 2)));
    CloseMainWindow();
}

// The axes' lines and grid lines are drawn by spans, with pens a hair wider than the theme's
// one-pixel pens: each chart on the screen is the chart drawn with the theme's own pens, to
// within two levels in 255.
void TestChartsWindow::AxisLinesLookAsTheThemeDrawsThem() {
    Action("ID_VIEW_CHARTS")->trigger();
    Calculate(false, TermLifeWithBothSections());
    ScrollThroughCharts();
    QChart themed;
    auto* reference = new QValueAxis;
    themed.addAxis(reference, Qt::AlignLeft);
    for (QChart* chart : Charts()->GetCharts()) {
        QGraphicsView* view = chart->scene()->views().value(0);
        QVERIFY(view);
        const QImage drawn = view->grab().toImage();
        for (QAbstractAxis* axis : chart->axes()) {
            QCOMPARE(axis->gridLinePen().color(), reference->gridLinePen().color());
            QCOMPARE(axis->linePen().color(), reference->linePen().color());
            axis->setGridLinePen(reference->gridLinePen());
            axis->setLinePen(reference->linePen());
        }
        const QImage theirs = view->grab().toImage();
        QCOMPARE(drawn.size(), theirs.size());
        int largest = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y);
                const QRgb b = theirs.pixel(x, y);
                largest =
                    std::max({largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
            }
        QVERIFY2(largest <= 2, qPrintable(QStringLiteral("%1: a pixel differs by %2 levels")
                                              .arg(chart->objectName())
                                              .arg(largest)));
    }
}

TABULON_GUI_TEST_MAIN(TestChartsWindow)
#include "tst_ChartsWindow.moc"
