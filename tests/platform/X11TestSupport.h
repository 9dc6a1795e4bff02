#pragma once

#include <QColor>
#include <QRasterWindow>
#include <QRect>
#include <QStringList>

#include <functional>

// Helpers for tests that run on a virtual X11 desktop.
namespace X11TestSupport {

// Runs a program to its end and returns its standard output (trimmed); fails the test when it does not exit 0.
QString run(const QString& program, const QStringList& arguments);
// Processes events until the condition holds or the time is up; returns the condition's last answer.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);

// A window of one colour placed at an exact position of the desktop, outside the window manager's control.
class ColourWindow : public QRasterWindow {
public:
    ColourWindow(const QRect& geometry, const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

} // namespace X11TestSupport
