// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: writes the toolbar images and the application icon as C++ arrays of
// premultiplied ARGB pixels, so that the program draws its first window without decoding
// an image (and without Qt's survey of its image-format plugins that decoding starts with).
//   pixels-from-png OUTPUT.cpp NAME-SIZE.png...
// Each file's name gives the image's name and its size in pixels (square).
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: pixels-from-png OUTPUT.cpp NAME-SIZE.png...\n", stderr);
        return 2;
    }
    QByteArray text = "// Generated at build time from ui/icons/*.png; do not edit.\n"
                      "#include \"IconPixels.h\"\n\nnamespace {\n";
    QByteArray table = "} // namespace\n\nconst IconPixels kIconPixels[] = {\n";
    const QRegularExpression pattern(QStringLiteral("^(.+)-([0-9]+)$"));
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QRegularExpressionMatch match = pattern.match(QFileInfo(path).completeBaseName());
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const int size = match.hasMatch() ? match.captured(2).toInt() : 0;
        if (image.isNull() || image.width() != size || image.height() != size) {
            std::fprintf(stderr,
                         "pixels-from-png: %s is not a square PNG of the size its "
                         "name gives\n",
                         argv[i]);
            return 1;
        }
        const QByteArray array = "k" + QByteArray::number(i - 2);
        text += "const std::uint32_t " + array + "[] = {";
        for (int y = 0; y < size; ++y) {
            const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < size; ++x)
                text += ((y * size + x) % 8 == 0 ? "\n    0x" : " 0x") +
                        QByteArray::number(row[x], 16).rightJustified(8, '0') + ',';
        }
        text += "};\n";
        table += "    {\"" + match.captured(1).toUtf8() + "\", " + QByteArray::number(size) + ", " +
                 array + "},\n";
    }
    text +=
        table + "};\nconst std::size_t kIconPixelsCount = " + QByteArray::number(argc - 2) + ";\n";
    QFile output(QString::fromLocal8Bit(argv[1]));
    if (!output.open(QIODevice::WriteOnly) || output.write(text) != text.size()) {
        std::fprintf(stderr, "pixels-from-png: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
