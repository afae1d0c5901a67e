// SPDX-License-Identifier: GPL-3.0-or-later
#include "LifeCharts.h"

#include "MortalityTables.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

const QColor kUndefinedNote(0xb0, 0x00, 0x20);
const QColor kMarker(0xc6, 0x28, 0x28);
const QColor kSpread(0xf2, 0x9d, 0x38, 0x50);
const QColor kBars(0x2f, 0x6f, 0xb7);
const QColor kUndiscounted(0x8a, 0x94, 0x9e);
const QColor kSurvivors(0x1b, 0x7a, 0x3c);

// Every digit the double needs to be read back exactly.
QString Exact(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString TwoDecimals(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', 2) : CLifeCharts::tr("not defined");
}

QChart* MakeChart() {
    auto* chart = new QChart;
    chart->setMargins(QMargins(6, 4, 6, 4));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QValueAxis* AddAxis(QChart* chart, Qt::Alignment alignment, const QString& title) {
    auto* axis = new QValueAxis(chart);
    axis->setTitleText(title);
    QFont font = axis->titleFont();
    font.setBold(false);
    axis->setTitleFont(font);
    chart->addAxis(axis, alignment);
    return axis;
}

template <class Series>
Series* AddSeries(QChart* chart, Series* series, QValueAxis* x, QValueAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
    return series;
}

// Ages first..last, each in the middle of its own unit; ticks on round ages.
void SetAgeRange(QValueAxis* axis, int first, int last) {
    const int span = last - first;
    axis->setRange(first - 0.5, last + 0.5);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(span <= 12 ? 1 : span <= 40 ? 5 : 10);
    axis->setLabelFormat(QStringLiteral("%.0f"));
}

// A range that holds low and high, widened where it would be empty, on round numbers.
void SetValueRange(QValueAxis* axis, double low, double high) {
    if (!(high > low)) {
        if (low == 0) {
            high = 1;
        } else {
            const double pad = std::fabs(low) / 10;
            low -= pad;
            high += pad;
        }
    }
    axis->setRange(low, high);
    axis->applyNiceNumbers();
    axis->setLabelFormat(axis->max() - axis->min() >= 10 ? QStringLiteral("%.0f")
                                                         : QStringLiteral("%g"));
}

void SetPen(QXYSeries* series, const QColor& color, qreal width, Qt::PenStyle style) {
    series->setPen(QPen(color, width, style));
}

// "Not defined at age 106: left out.", for the ages whose value is not a finite number.
QString UndefinedNote(const QList<int>& ages) {
    QString where;
    if (ages.size() == 1)
        where = CLifeCharts::tr("age %1").arg(ages.front());
    else if (ages.back() - ages.front() + 1 == ages.size())
        where = CLifeCharts::tr("ages %1 to %2").arg(ages.front()).arg(ages.back());
    else
        where = CLifeCharts::tr("%1 ages from %2 to %3")
                    .arg(ages.size())
                    .arg(ages.front())
                    .arg(ages.back());
    return CLifeCharts::tr("Not defined at %1: left out.").arg(where);
}

// The finite values' range, with the values that must show (zero, a marker) included.
struct Extent {
    double low = 0;
    double high = 0;
    void Include(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

} // namespace

CLifeCharts::CLifeCharts(QObject* parent) : QObject(parent) {
    CreateLivingChart();
    CreateDeathChart();
    CreateNetIncomeChart();
}

void CLifeCharts::CreateLivingChart() {
    m_pLivingChart = MakeChart();
    m_pLivingChart->setObjectName(QStringLiteral("LivingChart"));
    m_pLivingChart->legend()->hide();
    m_pLivingAges = AddAxis(m_pLivingChart, Qt::AlignBottom, tr("Age (years)"));
    m_pLivingCount = AddAxis(m_pLivingChart, Qt::AlignLeft, tr("Number living (persons)"));
    m_pLiving = AddSeries(m_pLivingChart, new QLineSeries, m_pLivingAges, m_pLivingCount);
    m_pLiving->setObjectName(QStringLiteral("Living"));
    m_pLiving->setName(tr("Number living"));
    SetPen(m_pLiving, kBars, 2, Qt::SolidLine);
    connect(m_pLiving, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
        const qsizetype i = qRound(point.x()) - m_series.age;
        if (i >= 0 && i < qsizetype(m_series.living.size()))
            ShowToolTip(state, tr("Age %1: %2 living")
                                   .arg(m_series.ages[size_t(i)])
                                   .arg(Exact(m_series.living[size_t(i)])));
    });
}

void CLifeCharts::CreateDeathChart() {
    m_pDeathChart = MakeChart();
    m_pDeathChart->setObjectName(QStringLiteral("DeathChart"));
    m_pDeathAges = AddAxis(m_pDeathChart, Qt::AlignBottom, tr("Age at death (years)"));
    m_pDeathProb = AddAxis(m_pDeathChart, Qt::AlignLeft, tr("Probability (0 to 1)"));

    // The spread first, so that the bars and the mean are drawn over it. An area series
    // does not own its two edges: the chart does.
    m_pSpread =
        AddSeries(m_pDeathChart,
                  new QAreaSeries(new QLineSeries(m_pDeathChart), new QLineSeries(m_pDeathChart)),
                  m_pDeathAges, m_pDeathProb);
    m_pSpread->setObjectName(QStringLiteral("Spread"));
    m_pSpread->setName(tr("± 1 standard deviation"));
    connect(m_pSpread, &QAreaSeries::hovered, this, [this](const QPointF&, bool state) {
        const double mean = m_series.meanAgeAtDeath;
        const double sd = m_series.sdAgeAtDeath;
        ShowToolTip(state, tr("One standard deviation either side of the mean: %1 to %2 years")
                               .arg(Exact(mean - sd), Exact(mean + sd)));
    });
    m_pSpread->setBrush(kSpread);
    m_pSpread->setPen(Qt::NoPen);

    // One bar per age from 0 on, so that a bar stands at its own age on the value axis;
    // the ages before the applicant's lie outside the axis range.
    auto* bars = new QBarSeries;
    bars->setObjectName(QStringLiteral("DeathBars"));
    bars->setBarWidth(0.8);
    m_pDeaths = new QBarSet(tr("Probability of death"));
    m_pDeaths->setObjectName(QStringLiteral("Deaths"));
    m_pDeaths->setColor(kBars);
    m_pDeaths->setBorderColor(kBars);
    bars->append(m_pDeaths);
    AddSeries(m_pDeathChart, bars, m_pDeathAges, m_pDeathProb);
    connect(m_pDeaths, &QBarSet::hovered, this, [this](bool state, int age) {
        const qsizetype i = age - m_series.age;
        if (i >= 0 && i < qsizetype(m_series.deathProb.size()))
            ShowToolTip(state, tr("Age %1: probability of death %2")
                                   .arg(age)
                                   .arg(Exact(m_series.deathProb[size_t(i)])));
    });

    m_pMean = AddSeries(m_pDeathChart, new QLineSeries, m_pDeathAges, m_pDeathProb);
    m_pMean->setObjectName(QStringLiteral("Mean"));
    m_pMean->setName(tr("Mean"));
    SetPen(m_pMean, kMarker, 2, Qt::DashLine);
    connect(m_pMean, &QLineSeries::hovered, this, [this](const QPointF&, bool state) {
        ShowToolTip(state, tr("Mean age at death: %1 years; standard deviation %2 years")
                               .arg(Exact(m_series.meanAgeAtDeath))
                               .arg(Exact(m_series.sdAgeAtDeath)));
    });
}

void CLifeCharts::CreateNetIncomeChart() {
    m_pNetIncomeChart = MakeChart();
    m_pNetIncomeChart->setObjectName(QStringLiteral("NetIncomeChart"));
    m_pNetIncomeAges = AddAxis(m_pNetIncomeChart, Qt::AlignBottom, tr("Age at death (years)"));
    m_pNetIncomeMoney = AddAxis(m_pNetIncomeChart, Qt::AlignLeft, tr("Net income (currency)"));

    m_pEdni = AddSeries(m_pNetIncomeChart, new QLineSeries, m_pNetIncomeAges, m_pNetIncomeMoney);
    m_pEdni->setObjectName(QStringLiteral("Edni"));
    SetPen(m_pEdni, kMarker, 2, Qt::DashLine);
    connect(m_pEdni, &QLineSeries::hovered, this, [this](const QPointF&, bool state) {
        ShowToolTip(state, tr("Expected discounted net income: %1").arg(Exact(m_series.edni)));
    });

    const auto hover = [this](bool discounted) {
        return [this, discounted](const QPointF& point, bool state) {
            const int age = qRound(point.x());
            for (const NetIncomeRow& row : m_series.netIncome)
                if (row.age == age && !row.survivors)
                    ShowToolTip(state,
                                tr("Death at age %1: %2 net income %3")
                                    .arg(age)
                                    .arg(discounted ? tr("discounted") : tr("undiscounted"))
                                    .arg(Exact(discounted ? row.discounted : row.undiscounted)));
        };
    };
    m_pUndiscounted =
        AddSeries(m_pNetIncomeChart, new QLineSeries, m_pNetIncomeAges, m_pNetIncomeMoney);
    m_pUndiscounted->setObjectName(QStringLiteral("Undiscounted"));
    m_pUndiscounted->setName(tr("Undiscounted"));
    m_pUndiscounted->setPointsVisible(true);
    SetPen(m_pUndiscounted, kUndiscounted, 2, Qt::SolidLine);
    connect(m_pUndiscounted, &QLineSeries::hovered, this, hover(false));

    m_pDiscounted =
        AddSeries(m_pNetIncomeChart, new QLineSeries, m_pNetIncomeAges, m_pNetIncomeMoney);
    m_pDiscounted->setObjectName(QStringLiteral("Discounted"));
    m_pDiscounted->setName(tr("Discounted"));
    m_pDiscounted->setPointsVisible(true);
    SetPen(m_pDiscounted, kBars, 2, Qt::SolidLine);
    connect(m_pDiscounted, &QLineSeries::hovered, this, hover(true));

    m_pSurvivors =
        AddSeries(m_pNetIncomeChart, new QScatterSeries, m_pNetIncomeAges, m_pNetIncomeMoney);
    m_pSurvivors->setObjectName(QStringLiteral("Survivors"));
    m_pSurvivors->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_pSurvivors->setMarkerSize(8);
    m_pSurvivors->setColor(kSurvivors);
    m_pSurvivors->setBorderColor(kSurvivors);
    connect(m_pSurvivors, &QScatterSeries::hovered, this, [this](const QPointF& point, bool state) {
        const NetIncomeRow& row = m_series.netIncome.back();
        const bool discounted = point.y() == row.discounted;
        ShowToolTip(state, tr("Alive at %1: %2 net income %3")
                               .arg(row.age)
                               .arg(discounted ? tr("discounted") : tr("undiscounted"))
                               .arg(Exact(discounted ? row.discounted : row.undiscounted)));
    });
}

void CLifeCharts::Show(const ChartSeries& series) {
    m_series = series;
    m_description = Describe(series);
    ShowLiving();
    ShowDeaths();
    ShowNetIncome();
}

QStringList CLifeCharts::Describe(const ChartSeries& series) {
    QString terms = tr("age %1").arg(series.age);
    if (series.usesTerm)
        terms += series.term == 1 ? tr(", term 1 year") : tr(", term %1 years").arg(series.term);
    return {tr("%1, %2 table")
                .arg(QString::fromStdString(series.policyName),
                     QString::fromStdString(series.tableName)),
            terms + tr(", rate %1%").arg(Exact(series.rate))};
}

// The chart's name in bold, the calculation on lines of its own (short enough for a narrow
// window), the chart's own figures, then the notes.
QString CLifeCharts::Title(const QString& name, const QStringList& notes,
                           const QString& figures) const {
    QString title = QStringLiteral("<b>%1</b>").arg(name.toHtmlEscaped());
    for (const QString& line : m_description)
        title += QStringLiteral("<br>") + line.toHtmlEscaped();
    if (!figures.isEmpty())
        title += QStringLiteral("<br>") + figures.toHtmlEscaped();
    for (const QString& note : notes)
        title += QStringLiteral("<br><span style=\"color:%1\">%2</span>")
                     .arg(kUndefinedNote.name(), note.toHtmlEscaped());
    return title;
}

void CLifeCharts::ShowLiving() {
    QList<QPointF> points;
    QList<int> undefined;
    Extent extent;
    for (size_t i = 0; i < m_series.ages.size(); ++i) {
        if (!std::isfinite(m_series.living[i])) {
            undefined.append(m_series.ages[i]);
            continue;
        }
        points.append(QPointF(m_series.ages[i], m_series.living[i]));
        extent.Include(m_series.living[i]);
    }
    m_pLiving->replace(points);
    // A line needs two points; a single age shows as a point.
    m_pLiving->setPointsVisible(points.size() == 1);
    const int last = m_series.ages.empty() ? m_series.age : m_series.ages.back();
    SetAgeRange(m_pLivingAges, m_series.age, last);
    SetValueRange(m_pLivingCount, 0, extent.high);
    m_pLivingChart->setTitle(
        Title(tr("Number living l(x)"),
              undefined.isEmpty() ? QStringList() : QStringList{UndefinedNote(undefined)}));
}

void CLifeCharts::ShowDeaths() {
    const int last = m_series.ages.empty() ? m_series.age : m_series.ages.back();
    QList<qreal> bars(std::max(last + 1, 0), 0.0);
    QList<int> undefined;
    Extent extent;
    for (size_t i = 0; i < m_series.ages.size(); ++i) {
        if (!std::isfinite(m_series.deathProb[i])) {
            undefined.append(m_series.ages[i]);
            continue;
        }
        bars[m_series.ages[i]] = m_series.deathProb[i];
        extent.Include(m_series.deathProb[i]);
    }
    m_pDeaths->remove(0, m_pDeaths->count());
    m_pDeaths->append(bars);
    SetAgeRange(m_pDeathAges, m_series.age, last);
    SetValueRange(m_pDeathProb, 0, extent.high);

    QStringList notes;
    if (!undefined.isEmpty())
        notes.append(UndefinedNote(undefined));
    const double mean = m_series.meanAgeAtDeath;
    const double sd = m_series.sdAgeAtDeath;
    const bool marked = std::isfinite(mean) && std::isfinite(sd);
    const double top = m_pDeathProb->max();
    m_pMean->replace(marked ? QList<QPointF>{{mean, 0}, {mean, top}} : QList<QPointF>());
    m_pSpread->upperSeries()->replace(marked ? QList<QPointF>{{mean - sd, top}, {mean + sd, top}}
                                             : QList<QPointF>());
    m_pSpread->lowerSeries()->replace(marked ? QList<QPointF>{{mean - sd, 0}, {mean + sd, 0}}
                                             : QList<QPointF>());
    m_pMean->setVisible(marked);
    m_pSpread->setVisible(marked);
    QString moments;
    if (marked)
        moments = tr("mean age at death %1, standard deviation %2")
                      .arg(TwoDecimals(mean), TwoDecimals(sd));
    else
        notes.append(tr("The mean age at death and its standard deviation are not defined."));
    m_pDeathChart->setTitle(Title(tr("Probability of death at each age"), notes, moments));
}

void CLifeCharts::ShowNetIncome() {
    QList<QPointF> undiscounted;
    QList<QPointF> discounted;
    QList<QPointF> survivors;
    QList<int> undefined;
    Extent extent;
    int last = m_series.age;
    int survivorsAge = -1;
    for (const NetIncomeRow& row : m_series.netIncome) {
        if (!row.valuesShown)
            continue; // alive past the table's last age: nothing to draw
        if (!std::isfinite(row.undiscounted) || !std::isfinite(row.discounted))
            undefined.append(row.age);
        QList<QPointF>& first = row.survivors ? survivors : undiscounted;
        QList<QPointF>& second = row.survivors ? survivors : discounted;
        if (std::isfinite(row.undiscounted)) {
            first.append(QPointF(row.age, row.undiscounted));
            extent.Include(row.undiscounted);
        }
        if (std::isfinite(row.discounted)) {
            second.append(QPointF(row.age, row.discounted));
            extent.Include(row.discounted);
        }
        if (row.survivors)
            survivorsAge = row.age;
        last = std::max(last, row.age);
    }
    m_pUndiscounted->replace(undiscounted);
    m_pDiscounted->replace(discounted);
    m_pSurvivors->replace(survivors);
    m_pSurvivors->setVisible(!survivors.isEmpty());
    if (survivorsAge >= 0)
        m_pSurvivors->setName(tr("Alive at %1").arg(survivorsAge));

    QStringList notes;
    if (!undefined.isEmpty())
        notes.append(UndefinedNote(undefined));
    const double edni = m_series.edni;
    const bool edniDefined = std::isfinite(edni);
    if (edniDefined) {
        extent.Include(edni);
        // The report prints the EDNI without its sign: a solved policy's is zero but for
        // rounding, and a tiny negative value would read "-0.00".
        m_pEdni->setName(tr("EDNI %1").arg(TwoDecimals(std::fabs(edni))));
        m_pEdni->replace(QList<QPointF>{{m_series.age - 0.5, edni}, {last + 0.5, edni}});
    } else {
        m_pEdni->clear();
        notes.append(tr("The expected discounted net income is not defined."));
    }
    m_pEdni->setVisible(edniDefined);
    SetAgeRange(m_pNetIncomeAges, m_series.age, last);
    SetValueRange(m_pNetIncomeMoney, extent.low, extent.high);

    const QString amounts =
        m_series.pension ? tr("amount %1, annual payment %2") : tr("amount %1, annual premium %2");
    m_pNetIncomeChart->setTitle(
        Title(tr("Net income by age at death"), notes,
              amounts.arg(TwoDecimals(m_series.amount), TwoDecimals(m_series.premium))));
}

void CLifeCharts::ShowToolTip(bool state, const QString& text) {
    if (state)
        QToolTip::showText(QCursor::pos(), text);
    else
        QToolTip::hideText();
}
