#include "X11TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace X11TestSupport {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(10000);
    EXPECT_TRUE(finished) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

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
