// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIcon.h"

#include <QImageReader>
#include <QPixmap>

// The images are compiled into a static library, whose resources must be registered by hand.
static void RegisterImages() {
    Q_INIT_RESOURCE(tabulon);
}

namespace {
void EnsureImages() {
    static const bool registered = (RegisterImages(), true);
    (void)registered;
}

// Read as the PNG it is, without asking the image-format plugins: finding out an image's
// format makes Qt load every one of them (SVG, JPEG, GIF...), a good share of the start-up.
void AddPng(QIcon& icon, const QString& fileName) {
    QImageReader reader(fileName, "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
}
} // namespace

QIcon AppIcon() {
    EnsureImages();
    QIcon icon;
    for (const int size : {16, 32, 48, 128})
        AddPng(icon, QStringLiteral(":/icons/tabulon-%1.png").arg(size));
    return icon;
}

QIcon CommandIcon(const char* themeName, const char* file) {
    EnsureImages();
    QIcon ours;
    for (const int size : {16, 32})
        AddPng(ours, QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(file)).arg(size));
    // Only a desktop's own icon theme has these icons; looking them up in the bare
    // fallback theme finds nothing and costs a good part of the start-up.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        return ours;
    return QIcon::fromTheme(QLatin1String(themeName), ours);
}
