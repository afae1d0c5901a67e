// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>
#include <initializer_list>
#include <vector>

// The images are compiled into a static library, whose resources must be registered by hand.
static void RegisterImages() {
    Q_INIT_RESOURCE(tabulon);
}

namespace {
void EnsureImages() {
    static const bool registered = (RegisterImages(), true);
    (void)registered;
}

// An icon of square PNG files, one a size, each read when a pixmap of about its size is
// first asked for, as the PNG it is: finding out an image's format makes Qt load every
// image-format plugin (SVG, JPEG, GIF...), and a window painted at one scale needs one size.
class PngIconEngine : public QIconEngine {
public:
    void Add(const QString& fileName, int size) { m_files.push_back({fileName, size, {}}); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        if (m_files.empty())
            return {};
        // The smallest image at least as large as asked for, else the largest.
        File* best = &m_files.back();
        for (File& file : m_files) {
            if (file.size >= std::max(size.width(), size.height())) {
                best = &file;
                break;
            }
        }
        if (best->pixmap.isNull()) {
            QImageReader reader(best->name, "png");
            reader.setAutoDetectImageFormat(false);
            best->pixmap = QPixmap::fromImage(reader.read());
        }
        QPixmap result = best->pixmap;
        if (result.width() > size.width() || result.height() > size.height())
            result = result.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Normal)
            return result;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, result, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatio();
        QPixmap image = pixmap(rect.size() * scale, mode, state);
        image.setDevicePixelRatio(scale);
        painter->drawPixmap(rect, image);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const File& file : m_files)
            sizes << QSize(file.size, file.size);
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        int side = m_files.empty() ? 0 : m_files.back().size;
        for (const File& file : m_files) {
            if (file.size >= std::max(size.width(), size.height())) {
                side = file.size;
                break;
            }
        }
        return QSize(side, side).boundedTo(size);
    }
    QIconEngine* clone() const override { return new PngIconEngine(*this); }

private:
    struct File {
        QString name;
        int size;
        QPixmap pixmap; // read on first use
    };
    std::vector<File> m_files; // by increasing size
};

// sizes in increasing order, pattern's %1 the size.
QIcon PngIcon(const QString& pattern, std::initializer_list<int> sizes) {
    auto* engine = new PngIconEngine;
    for (const int size : sizes)
        engine->Add(pattern.arg(size), size);
    return QIcon(engine);
}

} // namespace

QIcon AppIcon() {
    EnsureImages();
    return PngIcon(QStringLiteral(":/icons/tabulon-%1.png"), {16, 32, 48, 128});
}

QIcon CommandIcon(const char* themeName, const char* file) {
    EnsureImages();
    const QIcon ours =
        PngIcon(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(file)), {16, 32});
    // Only a desktop's own icon theme has these icons; looking them up in the bare
    // fallback theme finds nothing and costs a good part of the start-up.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        return ours;
    return QIcon::fromTheme(QLatin1String(themeName), ours);
}

namespace {

class PngToolBarArrows : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                       const QWidget* widget) const override {
        // The files and sizes the common style draws the arrows from.
        const QString folder = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");
        if (pixmap == SP_ToolBarVerticalExtensionButton)
            return PngIcon(folder + QStringLiteral("toolbar-ext-v-%1.png"), {5, 10, 20});
        if (pixmap != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(pixmap, option, widget);
        const bool rightToLeft =
            (option ? option->direction : QApplication::layoutDirection()) == Qt::RightToLeft;
        return PngIcon(folder + (rightToLeft ? QStringLiteral("toolbar-ext-h-rtl-%1.png")
                                             : QStringLiteral("toolbar-ext-h-%1.png")),
                       {8, 16, 32});
    }
};

} // namespace

QStyle* StyleWithPngToolBarArrows() {
    return new PngToolBarArrows(QApplication::style()->name());
}
