#pragma once

#include <QColor>
#include <QRasterWindow>
#include <QRect>
#include <QStringList>

#include <functional>

// Helpers for tests that run on a virtual X11 desktop.
namespace X11TestSupport {

// Processes events until the condition holds or the time is up; returns the condition's last answer.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);
inline void pause(int ms)
{
    waitUntil([] { return false; }, ms);
}
// Runs xdotool with the space-separated arguments while this thread's events are processed, so that handlers run
// while the keys go down and up as they would under a user's fingers; fails the test when xdotool fails.
void xdotool(const QString& arguments);
// Runs a program to its end and gives its standard output; fails the test when it does not finish.
QByteArray run(const QString& program, const QStringList& arguments);

// A window of one colour placed at an exact position of the desktop, outside the window manager's control.
class ColourWindow : public QRasterWindow {
public:
    ColourWindow(const QRect& geometry, const QColor& colour);
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

} // namespace X11TestSupport
