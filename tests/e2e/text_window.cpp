// Another application's window with a known text in it, for the end-to-end capture tests: the lines of a file
// drawn exactly as they stand (no wrapping), DejaVu Sans 14 px, light or dark theme. The window bypasses the
// window manager so that it sits exactly where it is asked to; once its pixels are on the screen it prints
// "ready X Y W H", the text block's rectangle in global coordinates, and it stays until it is killed.
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Padding = 24;

class TextWindow : public QRasterWindow {
public:
    TextWindow(const QStringList& lines, bool dark)
        : m_lines(lines)
        , m_dark(dark)
    {
        setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        m_font.setPixelSize(14);
        for (const QString& line : m_lines)
            m_textSize.setWidth(std::max(m_textSize.width(), QFontMetrics(m_font).horizontalAdvance(line)));
        m_textSize.setHeight(QFontMetrics(m_font).lineSpacing() * int(m_lines.size()));
        resize(m_textSize + QSize(2 * Padding, 2 * Padding));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), m_dark ? QColor(0x1e, 0x1e, 0x1e) : QColor(Qt::white));
        painter.setPen(m_dark ? QColor(0xd4, 0xd4, 0xd4) : QColor(0x20, 0x20, 0x20));
        painter.setFont(m_font);
        for (int i = 0; i < m_lines.size(); ++i)
            painter.drawText(Padding, Padding + QFontMetrics(m_font).ascent() + i * QFontMetrics(m_font).lineSpacing(),
                             m_lines.at(i));
    }

    void exposeEvent(QExposeEvent* event) override
    {
        QRasterWindow::exposeEvent(event);
        if (m_announced || !isExposed())
            return;
        m_announced = true;
        // Printed once the painted frame has reached the server, so a test never captures an empty window.
        QMetaObject::invokeMethod(
            this,
            [this] {
                std::printf("ready %d %d %d %d\n", x() + Padding, y() + Padding, m_textSize.width(),
                            m_textSize.height());
                std::fflush(stdout);
            },
            Qt::QueuedConnection);
    }

private:
    QStringList m_lines;
    QFont m_font{QStringLiteral("DejaVu Sans")};
    bool m_dark;
    QSize m_textSize{0, 0};
    bool m_announced = false;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
    QFile file(args.value(2));
    if (args.size() != 3 || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "usage: e2e_text_window [--dark] X Y FILE\n");
        return 2;
    }
    TextWindow window(QString::fromUtf8(file.readAll()).split(u'\n'), dark);
    window.setPosition(args.at(0).toInt(), args.at(1).toInt());
    window.show();
    return app.exec();
}
