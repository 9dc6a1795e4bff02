#include "widgets/shell/AppWindowList.h"

#include "core/platform/ScreenGeometry.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QList<QWidget*> AppWindowList::topLevelWindows()
{
    return QApplication::topLevelWidgets();
}

QRectF AppWindowList::primaryGeometry()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? QRectF(primary->geometry()) : QRectF();
}

QString AppWindowList::windowType(const QWidget* window, const QWidget* textEditor)
{
    if (window == textEditor)
        return QStringLiteral("textEditor");
    const QString className = QString::fromLatin1(window->metaObject()->className());
    if (className.contains(QStringLiteral("Sidebar")))
        return QStringLiteral("sidebar");
    if (className.contains(QStringLiteral("Screenshot")))
        return QStringLiteral("captureOverlay");
    // By name, so that the window is found in any language; the title is kept for windows without one.
    if (window->objectName() == QLatin1String("preferencesWindow") ||
        window->windowTitle().contains(QStringLiteral("Preferences")))
        return QStringLiteral("preferences");
    return QStringLiteral("other");
}

int AppWindowList::level(const QWidget* window)
{
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::X11BypassWindowManagerHint))
        return 1000;
    if (flags.testFlag(Qt::WindowStaysOnTopHint))
        return 3;
    return 0;
}

nlohmann::json AppWindowList::windowList(const QList<QWidget*>& windows, const QWidget* textEditor,
                                         const QRectF& primaryGeometry)
{
    nlohmann::json list = nlohmann::json::array();
    for (const QWidget* window : windows) {
        if (!window->isVisible())
            continue;
        const QRectF frame = ScreenGeometry::toGlobalBottomLeft(QRectF(window->frameGeometry()), primaryGeometry);
        list.push_back({
            {"title", window->windowTitle().toStdString()},
            {"frame", {{"x", frame.x()}, {"y", frame.y()}, {"width", frame.width()}, {"height", frame.height()}}},
            {"isKey", window->isActiveWindow()},
            // X11 knows one active window; it is both the one with the keyboard and the main one.
            {"isMain", window->isActiveWindow()},
            {"level", level(window)},
            {"type", windowType(window, textEditor).toStdString()},
        });
    }
    return list;
}

std::optional<QByteArray> AppWindowList::compositePNG(const QList<QWidget*>& windows)
{
    QList<QWidget*> candidates;
    for (QWidget* window : windows)
        if (window->isVisible() && window->width() > 0 && window->height() > 0)
            candidates.append(window);
    if (candidates.isEmpty())
        return std::nullopt;

    QRect bounds;
    for (const QWidget* window : candidates)
        bounds = bounds.united(window->geometry());
    if (bounds.width() <= 0 || bounds.height() <= 0)
        return std::nullopt;

    QImage picture(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return std::nullopt;
    picture.fill(Qt::transparent);

    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const QWidget* a, const QWidget* b) { return level(a) < level(b); });
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (QWidget* window : candidates) {
            // The window's own rendering: it works for every window of ours, covered or not, without asking
            // the X server for pixels that another window may hide.
            const QPixmap content = window->grab();
            if (content.isNull())
                continue;
            painter.drawPixmap(QRect(window->geometry().topLeft() - bounds.topLeft(), window->size()), content);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}
