#pragma once

#include "core/sidebar/SidebarPanel.h"
#include "widgets/sidebar/HistoryEntryCellView.h"

#include <QWidget>

#include <memory>
#include <optional>

class ClipboardService;
class HistoryListModel;
class HistoryManager;
class HistorySidebarWindowDelegate;
class QLabel;
class QListView;
class QPropertyAnimation;
class QPushButton;
class QTimer;
class QToolButton;
class SidebarEditorWindow;
class SidebarTooltip;
struct HistoryEntry;

// The history panel that slides in at the right edge of the primary monitor: a capture button and a close button,
// the title with a plus button for a text typed by hand, and the list of captures, newest first, each with its
// buttons to open the screenshot, copy, edit and delete. It stays above other windows and never takes the
// keyboard from the application in use; only its editor does. Main thread only.
class HistorySidebarWindow : public QWidget, public SidebarPanel {
    Q_OBJECT

public:
    // The history, the clipboard and the delegate outlive the panel.
    HistorySidebarWindow(HistoryManager& history, ClipboardService& clipboard, HistorySidebarWindowDelegate& delegate,
                         QWidget* parent = nullptr);
    ~HistorySidebarWindow() override;

    void slideIn(const QRectF& from, const QRectF& to, int durationMs) override;
    void slideOut(const QRectF& to, int durationMs) override;
    std::optional<QByteArray> renderPNG() override;

    // What the buttons do, row by row (rows out of range do nothing).
    void openScreenshot(int row);
    void copyEntry(int row);
    void editEntry(int row);
    void deleteEntry(int row);
    // Opens the editor for a new text.
    void addEntry();

    QListView* listView() const { return m_list; }
    HistoryListModel* model() const { return m_model; }
    HistoryEntryCellView* cellView() const { return m_cells; }
    SidebarTooltip* tooltip() const { return m_tooltip.get(); }
    SidebarEditorWindow* editorWindow() const { return m_editor.get(); }
    QPushButton* captureButton() const { return m_captureButton; }
    QToolButton* closeButton() const { return m_closeButton; }
    QToolButton* addButton() const { return m_addButton; }

    static constexpr int CopiedFeedbackMs = 1000;
    static constexpr int TooltipDelayMs = 700;
    static constexpr int EditorGap = 10;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildContent();
    // Row and button under a point of the list's viewport.
    std::pair<int, HistoryEntryCellView::Button> hitTest(const QPoint& viewportPoint) const;
    void updateHover(const QPoint& viewportPoint);
    void clearHover();
    void setHover(int row, HistoryEntryCellView::Button button);
    void showTooltip();
    void hideTooltip();
    void press(int row, HistoryEntryCellView::Button button);
    void openEditor(const std::optional<HistoryEntry>& entry, const QRect& rowRect);
    void forgetEditor(SidebarEditorWindow* editor);

    HistoryManager& m_history;
    ClipboardService& m_clipboard;
    HistorySidebarWindowDelegate& m_delegate;

    QPushButton* m_captureButton = nullptr;
    QToolButton* m_closeButton = nullptr;
    QLabel* m_titleLabel = nullptr;
    QToolButton* m_addButton = nullptr;
    QListView* m_list = nullptr;
    HistoryListModel* m_model = nullptr;
    HistoryEntryCellView* m_cells = nullptr;
    QPropertyAnimation* m_slide = nullptr;
    bool m_slidingOut = false;

    std::unique_ptr<SidebarTooltip> m_tooltip;
    QTimer* m_tooltipTimer = nullptr;
    QTimer* m_copiedTimer = nullptr;
    // The button pressed down, which acts when the mouse is released over it.
    std::pair<int, HistoryEntryCellView::Button> m_pressed{-1, HistoryEntryCellView::Button::None};
    std::unique_ptr<SidebarEditorWindow> m_editor;
};
