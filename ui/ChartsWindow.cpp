// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartsWindow.h"

#include "AppIcon.h"
#include "ChartTitle.h"
#include "FileErrorText.h"
#include "FileException.h"
#include "FileName.h"
#include "LastFolder.h"
#include "LifeCharts.h"
#include "PrintCommands.h"
#include "ProductCharts.h"
#include "SafeFile.h"
#include "TabulonDoc.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QLegend>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStackedWidget>
#include <QSvgGenerator>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtMath>

namespace {

// The charts as files and on paper: each this wide and high, in pixels of the screen.
constexpr qreal kPaintedWidth = 760;
constexpr qreal kPaintedHeight = 460;
// On the screen each chart is at least this high under its title, in units of the font's
// height: with the legend and the age axis, its plot keeps room for the longest value-axis
// title ("Probability (0 to 1)", "Wahrscheinlichkeit") at any scale.
constexpr int kChartLines = 19;
// Around the charts and between them, in pixels.
constexpr int kChartGap = 9;

// A point size becomes the same pixel size at dpi, so that a painting scaled onto a
// printer or kept as SVG keeps its text in proportion to its lines.
QFont InPixels(QFont font, int dpi) {
    if (font.pointSizeF() > 0)
        font.setPixelSize(qRound(font.pointSizeF() * dpi / 72));
    return font;
}

void UsePixelFonts(QChart* chart, int dpi) {
    chart->setTitleFont(InPixels(chart->titleFont(), dpi));
    chart->legend()->setFont(InPixels(chart->legend()->font(), dpi));
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(InPixels(axis->labelsFont(), dpi));
        axis->setTitleFont(InPixels(axis->titleFont(), dpi));
    }
}

// Writes bytes as the whole new file (see WriteFileSafely): a failure leaves no file behind
// and any earlier file as it was.
bool WriteWhole(const QString& fileName, const QByteArray& bytes, QString& reason) {
    try {
        WriteFileSafely(EncodeFileName(fileName).toStdString(),
                        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        "save");
    } catch (const CFileException& error) {
        reason = FileErrorReason(error);
        return false;
    }
    return true;
}

// The SVG's fonts named with the generic family after them, so that a viewer without the
// screen's font draws a sans-serif one, as the screen does, rather than its default serif.
QByteArray WithGenericFontFamily(const QByteArray& svg) {
    static const QRegularExpression family(QStringLiteral("font-family=\"([^\"]*)\""));
    QString text = QString::fromUtf8(svg);
    QString result;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator matches = family.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        const QString name = match.captured(1);
        result += QStringView(text).mid(done, match.capturedStart() - done);
        // A name that a CSS string cannot hold as it stands gives way to the generic family.
        if (name.isEmpty() || name.contains(QLatin1Char('\'')) || name.contains(QLatin1Char('&')))
            result += QStringLiteral("font-family=\"sans-serif\"");
        else
            result += QStringLiteral("font-family=\"'%1', sans-serif\"").arg(name);
        done = match.capturedEnd();
    }
    result += QStringView(text).mid(done);
    return result.toUtf8();
}

} // namespace

// A chart's title on the screen, as high as its lines; a narrow window cuts them short, and
// the title shows whole in its tooltip.
class TitleLabel : public QWidget {
public:
    TitleLabel(const QFont& font, const QColor& color, QWidget* parent)
        : QWidget(parent), m_color(color) {
        setFont(font);
    }

    void SetTitle(const ChartTitle& title) {
        if (title == m_title)
            return;
        const bool resized = title.LineCount() != m_title.LineCount();
        m_title = title;
        if (resized)
            updateGeometry();
        // What a screen reader reads: the lines drawn are not text it can see.
        setAccessibleName(m_title.Text());
        UpdateToolTip();
        update();
    }

    QSize sizeHint() const override {
        return QSize(qCeil(m_title.Width(font())), minimumSizeHint().height());
    }
    QSize minimumSizeHint() const override { return QSize(0, qCeil(m_title.Height(font()))); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_title.Paint(painter, rect(), font(), m_color);
    }
    void resizeEvent(QResizeEvent*) override { UpdateToolTip(); }

private:
    void UpdateToolTip() {
        setToolTip(m_title.Width(font()) > width() ? m_title.Text() : QString());
    }

    ChartTitle m_title;
    QColor m_color;
};

ChartsWindow::ChartsWindow(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent)
    : QDockWidget(tr("Charts"), parent), m_doc(doc), m_printCommands(printCommands) {
    setObjectName(QStringLiteral("ChartsWindow"));
    setAllowedAreas(Qt::AllDockWidgetAreas);

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* commands = new QToolBar(body);
    commands->setObjectName(QStringLiteral("ChartsToolBar"));
    commands->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* save =
        commands->addAction(tr("Save &Image..."), this, &ChartsWindow::SaveImageCommand);
    save->setObjectName(QStringLiteral("ID_CHARTS_SAVE_IMAGE"));
    save->setStatusTip(tr("Save the charts as a PNG or SVG image"));
    QAction* print = commands->addAction(tr("&Print..."), this, [this] {
        m_printCommands.PrintWith([this](QPrinter* printer) { return OnPrint(printer); }, false);
    });
    print->setObjectName(QStringLiteral("ID_CHARTS_PRINT"));
    print->setStatusTip(tr("Print the charts"));
    QAction* preview = commands->addAction(tr("Print Pre&view"), this, [this] {
        m_printCommands.PrintWith([this](QPrinter* printer) { return OnPrint(printer); }, true);
    });
    preview->setObjectName(QStringLiteral("ID_CHARTS_PRINT_PREVIEW"));
    preview->setStatusTip(tr("Display the charts' page"));
    m_chartCommands = {save, print, preview};
    layout->addWidget(commands);

    m_pages = new QStackedWidget(body);
    // Before the first calculation, and beside a journal opened from a file, whose reports
    // are text: what to do to see charts.
    auto* empty = new QWidget(m_pages);
    auto* emptyLayout = new QVBoxLayout(empty);
    auto* nothing = new QLabel(tr("No calculation yet"), empty);
    nothing->setObjectName(QStringLiteral("NoCalculation"));
    nothing->setAlignment(Qt::AlignCenter);
    nothing->setMinimumWidth(nothing->sizeHint().width() * 3);
    auto* hint = new QLabel(tr("The charts show a calculation run in this window; the reports of "
                               "a journal opened from a file are text. Choose Type of policy > "
                               "Insurance or Pension to run one."),
                            empty);
    hint->setObjectName(QStringLiteral("NoCalculationHint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    hint->setEnabled(false);
    emptyLayout->addStretch();
    emptyLayout->addWidget(nothing);
    emptyLayout->addWidget(hint);
    emptyLayout->addStretch();
    m_pages->addWidget(empty);
    layout->addWidget(m_pages, 1);
    setWidget(body);

    m_fileChooser = [this] {
        QString filter;
        const QString png = tr("PNG image (*.png)");
        const QString svg = tr("SVG image (*.svg)");
        QString name = QFileDialog::getSaveFileName(this, tr("Save Image"),
                                                    last_folder::Proposed(tr("charts.png")),
                                                    png + QStringLiteral(";;") + svg, &filter);
        last_folder::Remember(name);
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += filter == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
        return name;
    };
    m_warning = [this](const QString& message) {
        QMessageBox::warning(this, QStringLiteral("Tabulon"), message);
    };

    m_doc.AddView(this);
    for (QAction* command : m_chartCommands)
        command->setEnabled(HoldsCharts());
}

bool ChartsWindow::HoldsCharts() const {
    return m_doc.GetLastProduct() || HoldsCalculation(m_doc);
}

ChartsWindow::~ChartsWindow() {
    m_doc.RemoveView(this);
}

void ChartsWindow::OnUpdate(const DocumentEvent& event) {
    // Only a calculation changes the record the charts show; New and Open leave it as it was.
    if (event.kind != DocumentEvent::Kind::CalculationAppended)
        return;
    m_stale = true;
    if (isVisible())
        Refresh();
    else
        for (QAction* command : m_chartCommands)
            command->setEnabled(HoldsCharts());
}

void ChartsWindow::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    // Docked for the first time: a good part of the frame's width, so that titles and
    // legends fit.
    auto* frame = qobject_cast<QMainWindow*>(parentWidget());
    if (!m_sized && frame && !isFloating())
        frame->resizeDocks({this}, {frame->width() * 9 / 20}, Qt::Horizontal);
    m_sized = true;
    if (m_stale)
        Refresh();
}

// The record is read afresh whenever the document changes (a New or an Open leaves it as
// it was, a calculation fills it); the series are a few hundred numbers.
void ChartsWindow::Refresh() {
    m_stale = false;
    // A product has a page of its own, saved and printed as the record's charts are.
    if (ShowProductPage(m_pages, m_doc.GetLastProduct())) {
        for (QAction* command : m_chartCommands)
            command->setEnabled(true);
        return;
    }
    const bool holdsCalculation = HoldsCalculation(m_doc);
    for (QAction* command : m_chartCommands)
        command->setEnabled(holdsCalculation);
    if (!holdsCalculation) {
        m_pages->setCurrentIndex(0);
        return;
    }
    m_series = BuildChartSeries(m_doc);
    const bool created = !m_charts;
    if (created)
        CreateChartViews();
    m_charts->SetSeries(m_series);
    // The charts in sight are filled now, the others when they are first painted (views
    // just made are not yet laid out, and all are filled).
    for (qsizetype i = 0; i < m_cards.size(); ++i)
        if (created || !m_cards[i]->visibleRegion().isEmpty())
            FillChart(i);
    m_pages->setCurrentWidget(m_pages->findChild<QScrollArea*>(QStringLiteral("ChartsArea")));
}

void ChartsWindow::FillChart(qsizetype index) {
    const QChart* chart = m_charts->GetCharts()[index];
    if (m_charts->IsFilled(chart))
        return;
    m_charts->Fill(chart);
    m_titles[index]->SetTitle(m_charts->GetTitle(chart));
}

// A card about to be painted with its chart not yet filled (scrolled into sight, or the
// window made larger) has it filled first.
bool ChartsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint)
        if (const qsizetype index = m_cards.indexOf(watched); index >= 0)
            FillChart(index);
    return QDockWidget::eventFilter(watched, event);
}

// Each chart on a white card with its title above it.
void ChartsWindow::CreateChartViews() {
    m_charts = new LifeCharts(this);
    auto* scroll = new QScrollArea(m_pages);
    scroll->setObjectName(QStringLiteral("ChartsArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* charts = new QWidget(scroll);
    auto* layout = new QVBoxLayout(charts);
    layout->setContentsMargins(kChartGap, kChartGap, kChartGap, kChartGap);
    layout->setSpacing(2 * kChartGap);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    for (QChart* chart : m_charts->GetCharts()) {
        auto* card = new QWidget(charts);
        card->setPalette(white);
        card->setAutoFillBackground(true);
        auto* cardLayout = new QVBoxLayout(card);
        cardLayout->setContentsMargins(kChartGap, kChartGap, kChartGap, 0);
        cardLayout->setSpacing(0);
        auto* title = new TitleLabel(chart->titleFont(), chart->titleBrush().color(), card);
        title->setObjectName(chart->objectName() + QStringLiteral("Title"));
        cardLayout->addWidget(title);
        m_titles.append(title);
        m_cards.append(card);
        card->installEventFilter(this);
        auto* view = new QChartView(chart, card);
        view->setObjectName(chart->objectName() + QStringLiteral("View"));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(fontMetrics().height() * kChartLines);
        cardLayout->addWidget(view, 1);
        layout->addWidget(card);
    }
    scroll->setWidget(charts);
    m_pages->addWidget(scroll);
}

int ChartsWindow::ChartCount() const {
    return m_doc.GetLastProduct() ? 2 : 3;
}

void ChartsWindow::PaintCharts(QPainter& painter, QSizeF size) const {
    // A set of charts of its own, so that the file does not depend on the window's size.
    // The scene, made after them, takes their charts and deletes them first.
    LifeCharts charts;
    ProductCharts productCharts;
    QList<QChart*> painted;
    if (const ProductResult* product = m_doc.GetLastProduct()) {
        productCharts.Show(*product);
        painted = {productCharts.GetPolicyValueChart(), productCharts.GetSurvivalChart()};
    } else {
        charts.Show(m_series);
        painted = charts.GetCharts();
    }
    const QRectF whole(0, 0, size.width(), size.height() * qreal(painted.size()));
    painter.fillRect(whole, Qt::white);
    QGraphicsScene scene;
    qreal top = 0;
    const int dpi = logicalDpiY();
    for (QChart* chart : painted) {
        scene.addItem(chart);
        UsePixelFonts(chart, dpi);
        // A chart of the calculation has its title above it, as on the screen (a product's
        // charts hold theirs).
        const ChartTitle title = charts.GetTitle(chart);
        const QFont titleFont = InPixels(chart->titleFont(), dpi);
        const qreal titleHeight = title.name.isEmpty() ? 0 : kChartGap + title.Height(titleFont);
        chart->setGeometry(QRectF(kChartGap, top + titleHeight, size.width() - 2 * kChartGap,
                                  size.height() - titleHeight - kChartGap));
        if (titleHeight > 0)
            title.Paint(painter,
                        QRectF(kChartGap, top + kChartGap, size.width() - 2 * kChartGap,
                               titleHeight - kChartGap),
                        titleFont, chart->titleBrush().color());
        top += size.height();
    }
    scene.setSceneRect(whole);
    scene.render(&painter, whole, whole);
}

bool ChartsWindow::SaveImage(const QString& fileName, QString& error) {
    const QString shown = QDir::toNativeSeparators(fileName);
    if (!HoldsCharts()) {
        error = tr("Cannot save the image \"%1\": there is no calculation yet.").arg(shown);
        return false;
    }
    if (m_stale)
        Refresh();
    const QSizeF size(kPaintedWidth, kPaintedHeight);
    const QSize whole(qRound(size.width()), qRound(size.height() * ChartCount()));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(fileName).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(whole);
        svg.setViewBox(QRect(QPoint(), whole));
        svg.setResolution(logicalDpiY());
        svg.setTitle(tr("Tabulon charts"));
        svg.setDescription(m_doc.GetLastProduct()
                               ? tr("Policy value by duration and survival of a product")
                               : LifeCharts::Describe(m_series).join(QStringLiteral(", ")));
        {
            QPainter painter(&svg);
            PaintCharts(painter, size);
        }
        bytes = WithGenericFontFamily(bytes);
    } else {
        // Twice the pixels of the screen, so that the picture stays sharp when enlarged.
        const qreal ratio = 2;
        QImage image(whole * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintCharts(painter, size);
        painter.end();
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image)) {
            error = tr("Cannot save the image \"%1\": %2.").arg(shown, writer.errorString());
            return false;
        }
    }
    QString reason;
    if (!WriteWhole(fileName, bytes, reason)) {
        error = tr("Cannot save the image \"%1\": %2.").arg(shown, reason);
        return false;
    }
    return true;
}

void ChartsWindow::SaveImageCommand() {
    const QString fileName = m_fileChooser();
    QString error;
    if (!fileName.isEmpty() && !SaveImage(fileName, error))
        m_warning(error);
}

int ChartsWindow::OnPrint(QPrinter* printer) {
    if (!HoldsCharts())
        return 0;
    if (m_stale)
        Refresh();
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    // The charts fill the page's width and share its height.
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const qreal scale = page.width() / kPaintedWidth;
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintCharts(painter, QSizeF(kPaintedWidth, page.height() / scale / ChartCount()));
    return 1;
}
