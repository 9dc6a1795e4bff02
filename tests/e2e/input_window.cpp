// Another application's window for the end-to-end input tests: a text field, a button and a slider, placed at X Y
// of the desktop (e2e_input_window X Y). Once it is on the screen and active it prints "ready" with the three
// widgets' rectangles in global coordinates ("ready field X Y W H button X Y W H slider X Y W H"); then a line for
// every change: "text" and the field's text as a JSON string, "clicked" and the number of clicks so far, "slider"
// and the slider's value.
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString rect(const QWidget* widget)
{
    const QPoint global = widget->mapToGlobal(QPoint(0, 0));
    return QString::asprintf("%d %d %d %d", global.x(), global.y(), widget->width(), widget->height());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* button = new QPushButton(QStringLiteral("Press me"), &window);
    auto* slider = new QSlider(Qt::Horizontal, &window);
    slider->setRange(0, 100);
    field->setMinimumWidth(500);
    slider->setMinimumWidth(500);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(button);
    layout->addWidget(slider);

    int clicks = 0;
    QObject::connect(field, &QLineEdit::textChanged, [](const QString& text) {
        const QByteArray quoted = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
        say("text " + QString::fromUtf8(quoted.mid(1, quoted.size() - 2)));
    });
    QObject::connect(button, &QPushButton::clicked, [&clicks] { say(QStringLiteral("clicked %1").arg(++clicks)); });
    QObject::connect(slider, &QSlider::valueChanged, [](int value) { say(QStringLiteral("slider %1").arg(value)); });

    window.move(app.arguments().value(1).toInt(), app.arguments().value(2).toInt());
    window.show();
    window.activateWindow();
    field->setFocus();
    // The window manager places and frames the window after it is shown; the rectangles are read once it is active
    // and has settled.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.isActiveWindow() || !field->hasFocus())
            return;
        poll.stop();
        QTimer::singleShot(
            300, [&] { say("ready field " + rect(field) + " button " + rect(button) + " slider " + rect(slider)); });
    });
    poll.start(50);
    return app.exec();
}
