// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a Qt Widgets program (LD_PRELOAD), ends it as soon as its first window has
// been painted, so that the program's run time is its time to the first painted window.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace {

class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->isVisible()) {
            m_painted = true;
            // Queued behind the rest of this paint, the flush of the window included.
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return false;
    }

private:
    bool m_painted = false;
};

void InstallProbe() {
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
