#include "X11TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace X11TestSupport {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void xdotool(const QString& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments.split(u' '));
    EXPECT_TRUE(waitUntil([&] { return process.state() == QProcess::NotRunning; }, 10000)) << qPrintable(arguments);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(arguments) << ": " << process.readAllStandardError().constData();
}

QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(10000)) << qPrintable(program);
    return process.readAllStandardOutput();
}

ColourWindow::ColourWindow(const QRect& geometry, const QColor& colour)
    : m_colour(colour)
{
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint);
    setGeometry(geometry);
}

void ColourWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(), size()), m_colour);
}

} // namespace X11TestSupport
