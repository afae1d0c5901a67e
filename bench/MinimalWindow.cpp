// SPDX-License-Identifier: GPL-3.0-or-later
// The yardsticks for the desktop program's start-up: the smallest Qt Widgets program that
// shows a window (a blank one), and with --with-text a main window with a menu bar, a tool
// bar, a status bar and a line of text, which also pays for starting the font system.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--with-text") == 0) {
        QMainWindow window;
        window.setCentralWidget(new QLabel(QStringLiteral("A line of text")));
        window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&New"));
        window.addToolBar(QStringLiteral("Tools"))->addAction(QStringLiteral("New"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
        window.resize(640, 480);
        window.show();
        return app.exec();
    }
    QWidget window;
    window.resize(640, 480);
    window.show();
    return app.exec();
}
