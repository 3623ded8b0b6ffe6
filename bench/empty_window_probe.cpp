// The yardstick of the start-up benchmark: an empty Qt main window of the
// editor's size that prints "first-paint" once painted and exits, as
// tsle --report-first-paint does.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && !m_done) {
            m_done = true;
            QTimer::singleShot(0, this, [] {
                std::fputs("first-paint\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(900, 700);
    window.winId();
    FirstPaint watcher;
    window.windowHandle()->installEventFilter(&watcher);
    window.show();
    return app.exec();
}
