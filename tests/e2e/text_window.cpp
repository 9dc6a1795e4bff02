// Another application's window for the end-to-end tests, placed at X Y of the desktop. Once its pixels are on the
// screen it prints "ready" and rectangles in global coordinates; it stays until it is killed.
//   e2e_text_window [--dark] X Y FILE: the file's lines as they stand (no wrapping), DejaVu Sans 14 px, outside the
//     window manager's control; "ready X Y W H" is the text block.
//   e2e_text_window --input X Y: a text field, a button and a slider ("ready field X Y W H button ... slider ...");
//     then a line for every change: "text" and the field's text as a JSON string, "clicked N", "slider VALUE".
#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

constexpr int Padding = 24;

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString text(const QRect& rect)
{
    return QString::asprintf("%d %d %d %d", rect.x(), rect.y(), rect.width(), rect.height());
}

QString global(const QWidget* widget)
{
    return text(QRect(widget->mapToGlobal(QPoint()), widget->size()));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool input = args.removeAll(QStringLiteral("--input")) > 0;
    const bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
    QFile file(args.value(2));
    if (args.size() != (input ? 2 : 3) || (!input && !file.open(QIODevice::ReadOnly | QIODevice::Text))) {
        std::fprintf(stderr, "usage: e2e_text_window [--dark] X Y FILE | --input X Y\n");
        return 2;
    }
    QWidget window;
    QWidget* focus = nullptr;
    std::function<QString()> ready;
    if (input) {
        auto* field = new QLineEdit(&window);
        auto* button = new QPushButton(QStringLiteral("Press me"), &window);
        auto* slider = new QSlider(Qt::Horizontal, &window);
        slider->setRange(0, 100);
        field->setMinimumWidth(500);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(button);
        layout->addWidget(slider);
        int clicks = 0;
        QObject::connect(field, &QLineEdit::textChanged, [](const QString& value) {
            const QByteArray quoted = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
            say("text " + QString::fromUtf8(quoted.mid(1, quoted.size() - 2)));
        });
        QObject::connect(button, &QPushButton::clicked,
                         [clicks]() mutable { say(QStringLiteral("clicked %1").arg(++clicks)); });
        QObject::connect(slider, &QSlider::valueChanged,
                         [](int value) { say(QStringLiteral("slider %1").arg(value)); });
        field->setFocus();
        focus = field;
        ready = [=] { return "field " + global(field) + " button " + global(button) + " slider " + global(slider); };
    } else {
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        window.setStyleSheet(dark ? QStringLiteral("background: #1e1e1e; color: #d4d4d4")
                                  : QStringLiteral("background: white; color: #202020"));
        auto* label = new QLabel(QString::fromUtf8(file.readAll()), &window);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        label->setFont(font);
        label->setTextFormat(Qt::PlainText);
        label->setMargin(Padding);
        label->adjustSize();
        window.resize(label->size());
        ready = [=] {
            return text(
                QRect(label->mapToGlobal(QPoint(Padding, Padding)), label->size() - 2 * QSize(Padding, Padding)));
        };
    }
    window.move(args.at(0).toInt(), args.at(1).toInt());
    window.show();
    window.activateWindow();
    // Read once on the screen, with the field focused, and settled: the window manager places a framed window late.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.windowHandle()->isExposed() || (focus && (!window.isActiveWindow() || !focus->hasFocus())))
            return;
        poll.stop();
        QTimer::singleShot(300, [&] { say("ready " + ready()); });
    });
    poll.start(50);
    return app.exec();
}
