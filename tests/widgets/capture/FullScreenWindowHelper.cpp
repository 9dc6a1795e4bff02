// Another application's full-screen window for the overlay tests: it fills its monitor with one colour, takes
// the focus, and reports on standard output its window id once shown ("ready <id>") and every key it
// receives ("key <text>"), so a test can tell which application the keyboard reached.
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {

class FullScreenWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(255, 0, 255)); }
    void keyPressEvent(QKeyEvent* event) override
    {
        std::printf("key %s\n", event->text().toUtf8().constData());
        std::fflush(stdout);
    }
    void showEvent(QShowEvent*) override
    {
        std::printf("ready %llu\n", static_cast<unsigned long long>(winId()));
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FullScreenWindow window;
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    window.activateWindow();
    return app.exec();
}
