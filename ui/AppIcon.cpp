// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIcon.h"

#include "IconPixels.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace {

// An icon of square images, one a size, each made into a pixmap when a pixmap of about its
// size is first asked for: a window painted at one scale needs one size. Our own images are
// pixels compiled in; Qt's are read as the PNG files they are, since finding out an image's
// format makes Qt load every image-format plugin (SVG, JPEG, GIF...).
class SquareIconEngine : public QIconEngine {
public:
    void Add(const std::uint32_t* pixels, int size) { m_files.push_back({{}, pixels, size, {}}); }
    void Add(const QString& pngFile, int size) { m_files.push_back({pngFile, nullptr, size, {}}); }

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
        if (best->pixmap.isNull())
            best->pixmap = best->Read();
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
    QIconEngine* clone() const override { return new SquareIconEngine(*this); }

private:
    struct File {
        QString pngFile;
        const std::uint32_t* pixels; // or these, size by size
        int size;
        QPixmap pixmap; // made on first use

        QPixmap Read() const {
            if (pixels)
                return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels), size, size,
                                                 size * 4, QImage::Format_ARGB32_Premultiplied));
            QImageReader reader(pngFile, "png");
            reader.setAutoDetectImageFormat(false);
            return QPixmap::fromImage(reader.read());
        }
    };
    std::vector<File> m_files; // by increasing size
};

// sizes in increasing order, pattern's %1 the size.
QIcon PngIcon(const QString& pattern, std::initializer_list<int> sizes) {
    auto* engine = new SquareIconEngine;
    for (const int size : sizes)
        engine->Add(pattern.arg(size), size);
    return QIcon(engine);
}

// Every size of our image of that name.
QIcon PixelIcon(std::string_view name) {
    auto* engine = new SquareIconEngine;
    std::vector<const IconPixels*> images;
    for (std::size_t i = 0; i < kIconPixelsCount; ++i)
        if (kIconPixels[i].name == name)
            images.push_back(&kIconPixels[i]);
    std::ranges::sort(images, {}, &IconPixels::size);
    for (const IconPixels* image : images)
        engine->Add(image->pixels, image->size);
    return QIcon(engine);
}

} // namespace

QIcon AppIcon() {
    return PixelIcon("tabulon");
}

QIcon CommandIcon(const char* themeName, const char* file) {
    const QIcon ours = PixelIcon(file);
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
    // The proxy takes over the application's style rather than making another of its kind.
    return new PngToolBarArrows(QApplication::style());
}
