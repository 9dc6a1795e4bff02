#include "widgets/sidebar/HistorySidebarWindow.h"

#include "core/capture/ClipboardService.h"
#include "core/history/HistoryManager.h"
#include "core/sidebar/HistoryListModel.h"
#include "core/sidebar/HistorySidebarController.h"
#include "core/sidebar/HistorySidebarWindowDelegate.h"
#include "widgets/sidebar/SidebarEditorWindow.h"
#include "widgets/sidebar/SidebarStyle.h"
#include "widgets/sidebar/SidebarTooltip.h"

#include <QBuffer>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using Button = HistoryEntryCellView::Button;

namespace {

constexpr int Margin = 16;
constexpr int HeaderIconSize = 18;
constexpr int CaptureButtonHeight = 36;
constexpr int TitleRowHeight = 24;

const char* const StyleSheet = R"(
QPushButton#captureButton, QToolButton#closeButton {
    background: rgba(255, 255, 255, 28); color: rgba(255, 255, 255, 235); border: none; border-radius: 8px;
    font-size: 14px; padding: 0 12px;
}
QPushButton#captureButton:hover, QToolButton#closeButton:hover { background: rgba(255, 255, 255, 48); }
QPushButton#captureButton:pressed, QToolButton#closeButton:pressed { background: rgba(255, 255, 255, 70); }
QToolButton#closeButton { padding: 0; }
QToolButton#addButton { background: transparent; border: none; border-radius: 4px; }
QToolButton#addButton:hover { background: rgba(255, 255, 255, 28); }
QLabel#titleLabel { color: rgba(255, 255, 255, 150); font-size: 14px; font-weight: bold; }
QListView { background: transparent; border: none; }
QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }
QScrollBar::handle:vertical { background: rgba(255, 255, 255, 60); border-radius: 4px; min-height: 24px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }
)";

QIcon whiteIcon(const QIcon& icon, qreal devicePixelRatio)
{
    return QIcon(SidebarStyle::tinted(icon, HeaderIconSize, SidebarStyle::label(), devicePixelRatio));
}

QString tooltipText(Button button)
{
    switch (button) {
    case Button::Screenshot:
        //% "Show Screenshot"
        return qtTrId("tooltip.screenshot");
    case Button::Copy:
        //% "Copy to Clipboard"
        return qtTrId("tooltip.copy");
    case Button::Edit:
        //% "Edit"
        return qtTrId("tooltip.edit");
    case Button::Delete:
        //% "Delete"
        return qtTrId("tooltip.delete");
    case Button::None:
        break;
    }
    return {};
}

} // namespace

HistorySidebarWindow::HistorySidebarWindow(HistoryManager& history, ClipboardService& clipboard,
                                           HistorySidebarWindowDelegate& delegate, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_history(history)
    , m_clipboard(clipboard)
    , m_delegate(delegate)
    , m_tooltip(std::make_unique<SidebarTooltip>())
{
    setObjectName(QStringLiteral("historySidebar"));
    setWindowTitle(QStringLiteral("Quillora History"));
    // Shown without activation, and the window manager is told it never wants the keyboard: clicking a button
    // here leaves the keyboard with the application the user is working in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QString::fromLatin1(StyleSheet));
    buildContent();

    m_slide = new QPropertyAnimation(this, "pos", this);
    connect(m_slide, &QPropertyAnimation::finished, this, [this] {
        if (m_slidingOut)
            hide();
    });

    m_tooltipTimer = new QTimer(this);
    m_tooltipTimer->setSingleShot(true);
    m_tooltipTimer->setInterval(TooltipDelayMs);
    connect(m_tooltipTimer, &QTimer::timeout, this, &HistorySidebarWindow::showTooltip);

    m_copiedTimer = new QTimer(this);
    m_copiedTimer->setSingleShot(true);
    m_copiedTimer->setInterval(CopiedFeedbackMs);
    connect(m_copiedTimer, &QTimer::timeout, this, [this] {
        m_cells->setCopied(QUuid());
        m_list->viewport()->update();
    });
}

HistorySidebarWindow::~HistorySidebarWindow() = default;

void HistorySidebarWindow::buildContent()
{
    const qreal ratio = devicePixelRatioF();

    m_captureButton = new QPushButton(this);
    m_captureButton->setObjectName(QStringLiteral("captureButton"));
    //% "Capture Text"
    m_captureButton->setText(qtTrId("sidebar.capture"));
    m_captureButton->setIcon(whiteIcon(QIcon(QStringLiteral(":/sidebar/capture.svg")), ratio));
    m_captureButton->setIconSize(QSize(HeaderIconSize, HeaderIconSize));
    m_captureButton->setFixedHeight(CaptureButtonHeight);

    m_closeButton = new QToolButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAccessibleName(QStringLiteral("Close"));
    m_closeButton->setIcon(whiteIcon(SidebarStyle::icon(QStringLiteral("window-close")), ratio));
    m_closeButton->setIconSize(QSize(HeaderIconSize, HeaderIconSize));
    m_closeButton->setFixedSize(CaptureButtonHeight, CaptureButtonHeight);

    //% "History"
    m_titleLabel = new QLabel(qtTrId("sidebar.title"), this);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));

    m_addButton = new QToolButton(this);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addButton->setAccessibleName(QStringLiteral("Add"));
    m_addButton->setIcon(whiteIcon(SidebarStyle::icon(QStringLiteral("list-add")), ratio));
    m_addButton->setIconSize(QSize(HeaderIconSize, HeaderIconSize));
    m_addButton->setFixedSize(TitleRowHeight, TitleRowHeight);
    m_titleLabel->setFixedHeight(TitleRowHeight);

    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(m_captureButton), static_cast<QAbstractButton*>(m_closeButton),
          static_cast<QAbstractButton*>(m_addButton)})
        button->setFocusPolicy(Qt::NoFocus);
    connect(m_captureButton, &QPushButton::clicked, this, [this] { m_delegate.sidebarDidRequestCapture(); });
    connect(m_closeButton, &QToolButton::clicked, this, [this] { m_delegate.sidebarDidRequestClose(); });
    connect(m_addButton, &QToolButton::clicked, this, &HistorySidebarWindow::addEntry);

    m_model = new HistoryListModel(m_history, this);
    m_cells = new HistoryEntryCellView(this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("entryList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(m_cells);
    // Every row is as high as the others, so a list of hundreds is laid out without asking each row.
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->verticalScrollBar()->setSingleStep(HistoryEntryCellView::RowHeight / 3);
    m_list->setMouseTracking(true);
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    // Rows move under a pointer that stands still when the list scrolls or changes.
    const auto followPointer = [this] {
        if (isVisible())
            updateHover(m_list->viewport()->mapFromGlobal(QCursor::pos()));
    };
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, followPointer);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, followPointer);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, followPointer);
    connect(m_model, &QAbstractItemModel::modelReset, this, followPointer);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(Margin, 0, Margin, 0);
    header->setSpacing(8);
    header->addWidget(m_captureButton, 1);
    header->addWidget(m_closeButton);
    auto* titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(Margin, 0, Margin, 0);
    titleRow->addWidget(m_titleLabel);
    titleRow->addStretch();
    titleRow->addWidget(m_addButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, Margin, 0, Margin);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addSpacing(20);
    layout->addLayout(titleRow);
    layout->addSpacing(8);
    layout->addWidget(m_list, 1);
}

void HistorySidebarWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SidebarStyle::background());
    painter.fillRect(QRect(0, 0, 1, height()), QColor(255, 255, 255, 24));
}

void HistorySidebarWindow::slideIn(const QRectF& from, const QRectF& to, int durationMs)
{
    m_slide->stop();
    m_slidingOut = false;
    const QRect target = to.toRect();
    if (isVisible()) {
        // Back from wherever a slide-out has taken it.
        resize(target.size());
    } else {
        setGeometry(from.toRect());
        show();
    }
    raise();
    m_slide->setDuration(durationMs);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    m_slide->setStartValue(pos());
    m_slide->setEndValue(target.topLeft());
    m_slide->start();
}

void HistorySidebarWindow::slideOut(const QRectF& to, int durationMs)
{
    m_slide->stop();
    m_slidingOut = true;
    clearHover();
    if (!isVisible())
        return;
    m_slide->setDuration(durationMs);
    m_slide->setEasingCurve(QEasingCurve::InCubic);
    m_slide->setStartValue(pos());
    m_slide->setEndValue(to.toRect().topLeft());
    m_slide->start();
}

std::optional<QByteArray> HistorySidebarWindow::renderPNG()
{
    const QPixmap pixmap = grab();
    if (pixmap.isNull())
        return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!pixmap.save(&buffer, "PNG"))
        return std::nullopt;
    return png;
}

std::pair<int, Button> HistorySidebarWindow::hitTest(const QPoint& viewportPoint) const
{
    const QModelIndex index = m_list->indexAt(viewportPoint);
    if (!index.isValid())
        return {-1, Button::None};
    const bool hasScreenshot = index.data(HistoryListModel::HasScreenshotRole).toBool();
    return {index.row(), HistoryEntryCellView::buttonAt(m_list->visualRect(index), viewportPoint, hasScreenshot)};
}

void HistorySidebarWindow::updateHover(const QPoint& viewportPoint)
{
    if (!m_list->viewport()->rect().contains(viewportPoint)) {
        clearHover();
        return;
    }
    const auto [row, button] = hitTest(viewportPoint);
    setHover(row, button);
}

void HistorySidebarWindow::clearHover()
{
    setHover(-1, Button::None);
}

void HistorySidebarWindow::setHover(int row, Button button)
{
    const int before = m_cells->hoveredRow();
    const Button beforeButton = m_cells->hoveredButton();
    if (row == before && button == beforeButton) {
        // Resting counts from the last movement.
        if (button != Button::None && !m_tooltip->isVisible())
            m_tooltipTimer->start();
        return;
    }
    m_cells->setHover(row, button);
    for (int changed : {before, row})
        if (changed >= 0)
            m_list->viewport()->update(m_list->visualRect(m_model->index(changed)));
    hideTooltip();
    if (row >= 0 && button != Button::None)
        m_tooltipTimer->start();
}

void HistorySidebarWindow::showTooltip()
{
    const int row = m_cells->hoveredRow();
    const Button button = m_cells->hoveredButton();
    const QModelIndex index = m_model->index(row);
    if (!index.isValid() || button == Button::None)
        return;
    const QRect rect = HistoryEntryCellView::buttonRect(m_list->visualRect(index), button,
                                                        index.data(HistoryListModel::HasScreenshotRole).toBool());
    m_tooltip->showBelow(tooltipText(button), QRect(m_list->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
}

void HistorySidebarWindow::hideTooltip()
{
    m_tooltipTimer->stop();
    m_tooltip->hide();
}

bool HistorySidebarWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        updateHover(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
        clearHover();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const auto hit = hitTest(mouse->position().toPoint());
        m_pressed = hit;
        if (hit.second != Button::None)
            return true;
        if (event->type() == QEvent::MouseButtonDblClick && hit.first >= 0) {
            editEntry(hit.first);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || m_pressed.second == Button::None)
            break;
        const auto pressed = std::exchange(m_pressed, {-1, Button::None});
        if (hitTest(mouse->position().toPoint()) == pressed)
            press(pressed.first, pressed.second);
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void HistorySidebarWindow::press(int row, Button button)
{
    hideTooltip();
    switch (button) {
    case Button::Screenshot:
        openScreenshot(row);
        break;
    case Button::Copy:
        copyEntry(row);
        break;
    case Button::Edit:
        editEntry(row);
        break;
    case Button::Delete:
        deleteEntry(row);
        break;
    case Button::None:
        break;
    }
}

void HistorySidebarWindow::openScreenshot(int row)
{
    const HistoryEntry* entry = m_model->entryAt(row);
    if (!entry)
        return;
    const QString path = m_history.screenshotPath(*entry);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void HistorySidebarWindow::copyEntry(int row)
{
    const HistoryEntry* entry = m_model->entryAt(row);
    if (!entry)
        return;
    m_clipboard.copyToClipboard(entry->text);
    m_cells->setCopied(entry->id);
    m_copiedTimer->start();
    m_list->viewport()->update();
}

void HistorySidebarWindow::editEntry(int row)
{
    const HistoryEntry* entry = m_model->entryAt(row);
    if (!entry)
        return;
    const QRect rect = m_list->visualRect(m_model->index(row));
    openEditor(*entry, QRect(m_list->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
}

void HistorySidebarWindow::deleteEntry(int row)
{
    if (const HistoryEntry* entry = m_model->entryAt(row))
        m_history.deleteEntry(entry->id);
}

void HistorySidebarWindow::addEntry()
{
    openEditor(std::nullopt, QRect());
}

void HistorySidebarWindow::openEditor(const std::optional<HistoryEntry>& entry, const QRect& rowRect)
{
    // At most one editor: an open one goes without saving.
    m_editor.reset();
    auto editor = std::make_unique<SidebarEditorWindow>(entry ? entry->text : QString());
    SidebarEditorWindow* opened = editor.get();
    editor->onSave = [this, opened, entry](const QString& text) {
        if (entry)
            m_history.updateEntry(*entry, text);
        else
            m_history.addEntry(text, QStringLiteral("Manual Entry"), QImage(), QImage());
        forgetEditor(opened);
    };
    editor->onCancel = [this, opened] { forgetEditor(opened); };

    const QSize size(SidebarEditorWindow::Width, SidebarEditorWindow::Height);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    QPoint topLeft;
    if (rowRect.isValid()) {
        // Left of the row, centred on it.
        topLeft =
            QPoint(rowRect.left() - EditorGap - size.width(), rowRect.top() + (rowRect.height() - size.height()) / 2);
    } else if (screen) {
        // Left of the shown panel, centred on the monitor.
        topLeft = QPoint(area.right() + 1 - int(HistorySidebarController::SidebarWidth) - EditorGap - size.width(),
                         area.top() + (area.height() - size.height()) / 2);
    }
    if (area.isValid()) {
        // A row near the top or the bottom would put half the editor off the monitor.
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    editor->move(topLeft);
    m_editor = std::move(editor);
    m_editor->fadeIn();
}

void HistorySidebarWindow::forgetEditor(SidebarEditorWindow* editor)
{
    // Called from the editor's own callback: it goes once that has returned.
    if (m_editor.get() == editor)
        m_editor.release()->deleteLater();
}
