// SPDX-License-Identifier: GPL-3.0-or-later
#include "LifeCharts.h"

#include "ChartAxisPens.h"
#include "MortalityTables.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QGraphicsLayout>
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

const QColor kMarker(0xc6, 0x28, 0x28);
const QColor kSpread(0xf2, 0x9d, 0x38, 0x50);
const QColor kBars(0x2f, 0x6f, 0xb7);
const QColor kUndiscounted(0x8a, 0x94, 0x9e);
const QColor kSurvivorsUndiscounted(0x1b, 0x7a, 0x3c);
const QColor kSurvivorsDiscounted(0x7b, 0x3f, 0xa0);

// Every digit the double needs to be read back exactly.
QString Exact(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The report's name of a built-in policy or table in the user's language; an imported
// table's own name as it stands.
QString ShownName(const std::string& name) {
    static const char* const builtIn[] = {
        QT_TRANSLATE_NOOP("LifeCharts", "Whole life insurance"),
        QT_TRANSLATE_NOOP("LifeCharts", "Term life insurance"),
        QT_TRANSLATE_NOOP("LifeCharts", "Endowment"),
        QT_TRANSLATE_NOOP("LifeCharts", "Life annuity"),
        QT_TRANSLATE_NOOP("LifeCharts", "Term annuity"),
        QT_TRANSLATE_NOOP("LifeCharts", "National, male"),
        QT_TRANSLATE_NOOP("LifeCharts", "National, female"),
        QT_TRANSLATE_NOOP("LifeCharts", "Regional, male"),
        QT_TRANSLATE_NOOP("LifeCharts", "Regional, female"),
    };
    for (const char* known : builtIn) {
        if (name == known)
            return LifeCharts::tr(known);
    }
    return QString::fromStdString(name);
}

// A value as the report prints it: rounded to decimals places by the C library's own
// conversion, as the report's lines are.
QString Rounded(double value, int decimals) {
    return std::isfinite(value) ? QString::asprintf("%.*f", decimals, value)
                                : LifeCharts::tr("not defined");
}

QString TwoDecimals(double value) {
    return Rounded(value, 2);
}

QChart* MakeChart() {
    auto* chart = new QChart;
    chart->setMargins(QMargins(6, 4, 6, 4));
    chart->setBackgroundRoundness(0);
    // Plain white, as the theme's is, without its gradient: a fill of one colour is the
    // cheaper one to paint.
    chart->setBackgroundBrush(Qt::white);
    // The background reaches the chart's edges: its title stands above it, on white too.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // An entry cut short for want of room shows whole under the pointer.
    chart->legend()->setShowToolTips(true);
    return chart;
}

QValueAxis* AddAxis(QChart* chart, Qt::Alignment alignment, const QString& title) {
    auto* axis = new QValueAxis(chart);
    axis->setTitleText(title);
    QFont font = axis->titleFont();
    font.setBold(false);
    axis->setTitleFont(font);
    chart->addAxis(axis, alignment);
    DrawAxisLinesBySpans(axis);
    return axis;
}

template <class Series>
Series* AddSeries(QChart* chart, Series* series, QValueAxis* x, QValueAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
    return series;
}

// The axis's range and label format, each set only where it changes: every change lays out
// the axis's labels again.
void SetAxis(QValueAxis* axis, double min, double max, const QString& format) {
    if (axis->labelFormat() != format)
        axis->setLabelFormat(format);
    if (axis->min() != min || axis->max() != max)
        axis->setRange(min, max);
}

// Ages first..last, each in the middle of its own unit; ticks on round ages.
void SetAgeRange(QValueAxis* axis, int first, int last) {
    const int span = last - first;
    const double interval = span <= 12 ? 1 : span <= 40 ? 5 : 10;
    if (axis->tickType() != QValueAxis::TicksDynamic) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
    }
    if (axis->tickInterval() != interval)
        axis->setTickInterval(interval);
    SetAxis(axis, first - 0.5, last + 0.5, QStringLiteral("%.0f"));
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
    // Rounded on an axis of its own, so that the chart's axis changes once.
    QValueAxis nice;
    nice.setTickCount(axis->tickCount());
    nice.setRange(low, high);
    nice.applyNiceNumbers();
    if (axis->tickCount() != nice.tickCount())
        axis->setTickCount(nice.tickCount());
    SetAxis(axis, nice.min(), nice.max(),
            nice.max() - nice.min() >= 10 ? QStringLiteral("%.0f") : QStringLiteral("%g"));
}

void SetPen(QXYSeries* series, const QColor& color, qreal width, Qt::PenStyle style) {
    series->setPen(QPen(color, width, style));
}

// "Not defined at age 106: left out.", for the ages whose value is not a finite number.
QString UndefinedNote(const QList<int>& ages) {
    QString where;
    if (ages.size() == 1)
        where = LifeCharts::tr("age %1").arg(ages.front());
    else if (ages.back() - ages.front() + 1 == ages.size())
        where = LifeCharts::tr("ages %1 to %2").arg(ages.front()).arg(ages.back());
    else
        where = LifeCharts::tr("%1 ages from %2 to %3")
                    .arg(ages.size())
                    .arg(ages.front())
                    .arg(ages.back());
    return LifeCharts::tr("Not defined at %1: left out.").arg(where);
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

LifeCharts::LifeCharts(QObject* parent) : QObject(parent) {
    CreateLivingChart();
    CreateDeathChart();
    CreateNetIncomeChart();
}

void LifeCharts::CreateLivingChart() {
    m_livingChart = MakeChart();
    m_livingChart->setObjectName(QStringLiteral("LivingChart"));
    m_livingChart->legend()->hide();
    m_livingAges = AddAxis(m_livingChart, Qt::AlignBottom, tr("Age (years)"));
    m_livingCount = AddAxis(m_livingChart, Qt::AlignLeft, tr("Number living (persons)"));
    m_living = AddSeries(m_livingChart, new QLineSeries, m_livingAges, m_livingCount);
    m_living->setObjectName(QStringLiteral("Living"));
    m_living->setName(tr("Number living"));
    SetPen(m_living, kBars, 2, Qt::SolidLine);
    connect(m_living, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
        const qsizetype i = qRound(point.x()) - m_series.age;
        if (i >= 0 && i < qsizetype(m_series.living.size()))
            ShowToolTip(state, tr("Age %1: %2 living")
                                   .arg(m_series.ages[size_t(i)])
                                   .arg(Rounded(m_series.living[size_t(i)], 0)));
    });
}

void LifeCharts::CreateDeathChart() {
    m_deathChart = MakeChart();
    m_deathChart->setObjectName(QStringLiteral("DeathChart"));
    m_deathAges = AddAxis(m_deathChart, Qt::AlignBottom, tr("Age at death (years)"));
    m_deathProb = AddAxis(m_deathChart, Qt::AlignLeft, tr("Probability (0 to 1)"));

    // The spread first, so that the bars and the mean are drawn over it. An area series
    // does not own its two edges: the chart does.
    m_spread = AddSeries(
        m_deathChart, new QAreaSeries(new QLineSeries(m_deathChart), new QLineSeries(m_deathChart)),
        m_deathAges, m_deathProb);
    m_spread->setObjectName(QStringLiteral("Spread"));
    m_spread->setName(tr("± 1 standard deviation"));
    connect(m_spread, &QAreaSeries::hovered, this, [this](const QPointF&, bool state) {
        const double mean = m_series.meanAgeAtDeath;
        const double sd = m_series.sdAgeAtDeath;
        ShowToolTip(state, tr("One standard deviation either side of the mean: %1 to %2 years")
                               .arg(TwoDecimals(mean - sd), TwoDecimals(mean + sd)));
    });
    m_spread->setBrush(kSpread);
    m_spread->setPen(Qt::NoPen);

    // One bar per age from 0 on, so that a bar stands at its own age on the value axis;
    // the ages before the applicant's lie outside the axis range.
    auto* bars = new QBarSeries;
    bars->setObjectName(QStringLiteral("DeathBars"));
    bars->setBarWidth(0.8);
    m_deaths = new QBarSet(tr("Probability of death"));
    m_deaths->setObjectName(QStringLiteral("Deaths"));
    m_deaths->setColor(kBars);
    m_deaths->setBorderColor(kBars);
    bars->append(m_deaths);
    AddSeries(m_deathChart, bars, m_deathAges, m_deathProb);
    connect(m_deaths, &QBarSet::hovered, this, [this](bool state, int age) {
        const qsizetype i = age - m_series.age;
        if (i >= 0 && i < qsizetype(m_series.deathProb.size()))
            ShowToolTip(state, tr("Age %1: probability of death %2")
                                   .arg(age)
                                   .arg(Rounded(m_series.deathProb[size_t(i)], 4)));
    });

    m_mean = AddSeries(m_deathChart, new QLineSeries, m_deathAges, m_deathProb);
    m_mean->setObjectName(QStringLiteral("Mean"));
    m_mean->setName(tr("Mean"));
    SetPen(m_mean, kMarker, 2, Qt::DashLine);
    connect(m_mean, &QLineSeries::hovered, this, [this](const QPointF&, bool state) {
        ShowToolTip(state, tr("Mean age at death: %1 years; standard deviation %2 years")
                               .arg(TwoDecimals(m_series.meanAgeAtDeath))
                               .arg(TwoDecimals(m_series.sdAgeAtDeath)));
    });
}

void LifeCharts::CreateNetIncomeChart() {
    m_netIncomeChart = MakeChart();
    m_netIncomeChart->setObjectName(QStringLiteral("NetIncomeChart"));
    m_netIncomeAges = AddAxis(m_netIncomeChart, Qt::AlignBottom, tr("Age at death (years)"));
    m_netIncomeMoney = AddAxis(m_netIncomeChart, Qt::AlignLeft, tr("Net income (currency)"));

    m_edni = AddSeries(m_netIncomeChart, new QLineSeries, m_netIncomeAges, m_netIncomeMoney);
    m_edni->setObjectName(QStringLiteral("Edni"));
    SetPen(m_edni, kMarker, 2, Qt::DashLine);
    connect(m_edni, &QLineSeries::hovered, this, [this](const QPointF&, bool state) {
        ShowToolTip(
            state,
            tr("Expected discounted net income: %1").arg(TwoDecimals(std::fabs(m_series.edni))));
    });

    const auto hover = [this](bool discounted) {
        return [this, discounted](const QPointF& point, bool state) {
            const int age = qRound(point.x());
            for (const NetIncomeRow& row : m_series.netIncome)
                if (row.age == age && !row.survivors)
                    ShowToolTip(state, tr("Death at age %1: %2 net income %3")
                                           .arg(age)
                                           .arg(discounted ? tr("discounted") : tr("undiscounted"))
                                           .arg(TwoDecimals(discounted ? row.discounted
                                                                       : row.undiscounted)));
        };
    };
    m_undiscounted =
        AddSeries(m_netIncomeChart, new QLineSeries, m_netIncomeAges, m_netIncomeMoney);
    m_undiscounted->setObjectName(QStringLiteral("Undiscounted"));
    m_undiscounted->setName(tr("Undiscounted"));
    m_undiscounted->setPointsVisible(true);
    SetPen(m_undiscounted, kUndiscounted, 2, Qt::SolidLine);
    connect(m_undiscounted, &QLineSeries::hovered, this, hover(false));

    m_discounted = AddSeries(m_netIncomeChart, new QLineSeries, m_netIncomeAges, m_netIncomeMoney);
    m_discounted->setObjectName(QStringLiteral("Discounted"));
    m_discounted->setName(tr("Discounted"));
    m_discounted->setPointsVisible(true);
    SetPen(m_discounted, kBars, 2, Qt::SolidLine);
    connect(m_discounted, &QLineSeries::hovered, this, hover(true));

    // The survivors of a term, undiscounted and discounted, as squares of their own colours.
    for (const bool discounted : {false, true}) {
        QScatterSeries*& survivors = discounted ? m_survivorsDiscounted : m_survivorsUndiscounted;
        survivors =
            AddSeries(m_netIncomeChart, new QScatterSeries, m_netIncomeAges, m_netIncomeMoney);
        survivors->setObjectName(discounted ? QStringLiteral("SurvivorsDiscounted")
                                            : QStringLiteral("SurvivorsUndiscounted"));
        survivors->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        survivors->setMarkerSize(9);
        const QColor color = discounted ? kSurvivorsDiscounted : kSurvivorsUndiscounted;
        survivors->setColor(color);
        survivors->setBorderColor(color);
        connect(survivors, &QScatterSeries::hovered, this,
                [this, discounted](const QPointF&, bool state) {
                    const NetIncomeRow& row = m_series.netIncome.back();
                    ShowToolTip(state, tr("Alive at %1: %2 net income %3")
                                           .arg(row.age)
                                           .arg(discounted ? tr("discounted") : tr("undiscounted"))
                                           .arg(TwoDecimals(discounted ? row.discounted
                                                                       : row.undiscounted)));
                });
    }
}

void LifeCharts::Show(const ChartSeries& series) {
    SetSeries(series);
    for (const QChart* chart : GetCharts())
        Fill(chart);
}

void LifeCharts::SetSeries(const ChartSeries& series) {
    m_series = series;
    m_description = Describe(series);
    m_filled.fill(false);
}

void LifeCharts::Fill(const QChart* chart) {
    const QList<QChart*> charts = GetCharts();
    const qsizetype index = charts.indexOf(chart);
    if (index < 0 || m_filled[size_t(index)])
        return;
    m_filled[size_t(index)] = true;
    if (chart == m_livingChart)
        ShowLiving();
    else if (chart == m_deathChart)
        ShowDeaths();
    else
        ShowNetIncome();
    // Laid out now rather than when the event loop comes to it, so that a window showing the
    // chart paints it once, not before and again after.
    if (QGraphicsLayout* layout = charts[index]->layout())
        layout->activate();
}

bool LifeCharts::IsFilled(const QChart* chart) const {
    const qsizetype index = GetCharts().indexOf(chart);
    return index >= 0 && m_filled[size_t(index)];
}

ChartTitle LifeCharts::GetTitle(const QChart* chart) const {
    if (chart == m_livingChart)
        return m_livingTitle;
    if (chart == m_deathChart)
        return m_deathTitle;
    if (chart == m_netIncomeChart)
        return m_netIncomeTitle;
    return ChartTitle();
}

QStringList LifeCharts::Describe(const ChartSeries& series) {
    QString terms = tr("age %1").arg(series.age);
    if (series.usesTerm)
        terms += series.term == 1 ? tr(", term 1 year") : tr(", term %1 years").arg(series.term);
    return {tr("%1, %2 table").arg(ShownName(series.policyName), ShownName(series.tableName)),
            terms + tr(", rate %1%").arg(Exact(series.rate))};
}

// The chart's name, the calculation on lines of its own (short enough for a narrow
// window), the chart's own figures, then the notes.
ChartTitle LifeCharts::Title(const QString& name, const QStringList& notes,
                             const QString& figures) const {
    ChartTitle title{name, m_description, notes};
    if (!figures.isEmpty())
        title.lines.append(figures);
    return title;
}

void LifeCharts::ShowLiving() {
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
    m_living->replace(points);
    // A line needs two points; a single age shows as a point.
    m_living->setPointsVisible(points.size() == 1);
    const int last = m_series.ages.empty() ? m_series.age : m_series.ages.back();
    SetAgeRange(m_livingAges, m_series.age, last);
    SetValueRange(m_livingCount, 0, extent.high);
    m_livingTitle =
        Title(tr("Number living l(x)"),
              undefined.isEmpty() ? QStringList() : QStringList{UndefinedNote(undefined)});
}

void LifeCharts::ShowDeaths() {
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
    m_deaths->remove(0, m_deaths->count());
    m_deaths->append(bars);
    SetAgeRange(m_deathAges, m_series.age, last);
    SetValueRange(m_deathProb, 0, extent.high);

    QStringList notes;
    if (!undefined.isEmpty())
        notes.append(UndefinedNote(undefined));
    const double mean = m_series.meanAgeAtDeath;
    const double sd = m_series.sdAgeAtDeath;
    const bool marked = std::isfinite(mean) && std::isfinite(sd);
    const double top = m_deathProb->max();
    m_mean->replace(marked ? QList<QPointF>{{mean, 0}, {mean, top}} : QList<QPointF>());
    m_spread->upperSeries()->replace(marked ? QList<QPointF>{{mean - sd, top}, {mean + sd, top}}
                                            : QList<QPointF>());
    m_spread->lowerSeries()->replace(marked ? QList<QPointF>{{mean - sd, 0}, {mean + sd, 0}}
                                            : QList<QPointF>());
    m_mean->setVisible(marked);
    m_spread->setVisible(marked);
    QString moments;
    if (marked)
        moments = tr("mean age at death %1, standard deviation %2")
                      .arg(TwoDecimals(mean), TwoDecimals(sd));
    else
        notes.append(tr("The mean age at death and its standard deviation are not defined."));
    m_deathTitle = Title(tr("Distribution of the age at death"), notes, moments);
}

void LifeCharts::ShowNetIncome() {
    QList<QPointF> undiscounted;
    QList<QPointF> discounted;
    QList<QPointF> survivorsUndiscounted;
    QList<QPointF> survivorsDiscounted;
    QList<int> undefined;
    Extent extent;
    int last = m_series.age;
    int survivorsAge = -1;
    for (const NetIncomeRow& row : m_series.netIncome) {
        if (!row.valuesShown)
            continue; // alive past the table's last age: nothing to draw
        if (!std::isfinite(row.undiscounted) || !std::isfinite(row.discounted))
            undefined.append(row.age);
        QList<QPointF>& first = row.survivors ? survivorsUndiscounted : undiscounted;
        QList<QPointF>& second = row.survivors ? survivorsDiscounted : discounted;
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
    m_undiscounted->replace(undiscounted);
    m_discounted->replace(discounted);
    m_survivorsUndiscounted->replace(survivorsUndiscounted);
    m_survivorsUndiscounted->setVisible(!survivorsUndiscounted.isEmpty());
    m_survivorsDiscounted->replace(survivorsDiscounted);
    m_survivorsDiscounted->setVisible(!survivorsDiscounted.isEmpty());
    if (survivorsAge >= 0) {
        // Named as the report's row of the survivors, "60+".
        m_survivorsUndiscounted->setName(tr("%1+ undiscounted").arg(survivorsAge));
        m_survivorsDiscounted->setName(tr("%1+ discounted").arg(survivorsAge));
    }

    QStringList notes;
    if (!undefined.isEmpty())
        notes.append(UndefinedNote(undefined));
    const double edni = m_series.edni;
    const bool edniDefined = std::isfinite(edni);
    if (edniDefined) {
        extent.Include(edni);
        // The report prints the EDNI without its sign: a solved policy's is zero but for
        // rounding, and a tiny negative value would read "-0.00".
        m_edni->setName(tr("EDNI %1").arg(TwoDecimals(std::fabs(edni))));
        m_edni->replace(QList<QPointF>{{m_series.age - 0.5, edni}, {last + 0.5, edni}});
    } else {
        m_edni->clear();
        notes.append(tr("The expected discounted net income is not defined."));
    }
    m_edni->setVisible(edniDefined);
    SetAgeRange(m_netIncomeAges, m_series.age, last);
    SetValueRange(m_netIncomeMoney, extent.low, extent.high);

    const QString amounts =
        m_series.pension ? tr("amount %1, annual payment %2") : tr("amount %1, annual premium %2");
    m_netIncomeTitle =
        Title(tr("Net income by age at death"), notes,
              amounts.arg(TwoDecimals(m_series.amount), TwoDecimals(m_series.premium)));
}

void LifeCharts::ShowToolTip(bool state, const QString& text) {
    if (state)
        QToolTip::showText(QCursor::pos(), text);
    else
        QToolTip::hideText();
}
