#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPropertyAnimation;
class QPushButton;

// The small editor the history sidebar opens beside itself, to change an entry's text or to type a new one. It
// fades in and takes the keyboard; Save (Return) hands the text back, Cancel (Escape, also pressed in any other
// window of the program) drops it, and either fades it out before the callback runs. An empty text saves
// nothing. Closing or destroying it runs no callback.
class SidebarEditorWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 350;
    static constexpr int Height = 200;
    static constexpr int FadeMs = 150;

    explicit SidebarEditorWindow(const QString& text, QWidget* parent = nullptr);
    ~SidebarEditorWindow() override;

    std::function<void(const QString& text)> onSave;
    std::function<void()> onCancel;

    // Shows the editor with the whole text selected, asks the window manager for the keyboard and fades in.
    void fadeIn();
    void save();
    void cancel();

    QPlainTextEdit* textView() const { return m_textView; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void dismiss(std::function<void()> then);
    void removeEscapeFilter();

    QPlainTextEdit* m_textView = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPropertyAnimation* m_fade = nullptr;
    bool m_escapeFilterInstalled = false;
    bool m_dismissing = false;
};
