#pragma once

#include "core/capture/TextEditorDelegate.h"

#include <QWidget>

#include <functional>
#include <optional>

class QPlainTextEdit;
class QPushButton;

// The small editor a captured text opens in, next to the pointer, so that recognition errors can be put right
// before the text is copied. Each showing ends in exactly one outcome: save (the text is handed back), cancel
// (Escape anywhere in the application, or closing the window) or capture again. The window is made once and
// reused for every capture.
class TextEditorWindow : public QWidget, public TextEditorDelegate {
    Q_OBJECT

public:
    using Completion = std::function<void(std::optional<QString>)>;
    using RecaptureHandler = std::function<void()>;

    // The editor leaves the screen first and the next capture starts after this delay, so that the editor is
    // not frozen into the new capture's images.
    static constexpr int RecaptureDelayMs = 100;

    explicit TextEditorWindow(QWidget* parent = nullptr);
    ~TextEditorWindow() override;

    // Shows text for one outcome. A showing still open is replaced and its completion dropped uncalled.
    // An empty recaptureHandler hides the capture-again button.
    void show(const QString& text, Completion completion, RecaptureHandler recaptureHandler);
    void showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                        std::function<void()> recaptureHandler) override;

    QString text() const;
    // True while a showing waits for its outcome.
    bool isPending() const { return bool(m_completion) || bool(m_recaptureHandler); }

    void saveAndClose();
    void recaptureAction();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeNextToPointer();
    void removeEscapeFilter();

    QPlainTextEdit* m_textView = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_recaptureButton = nullptr;
    Completion m_completion;
    RecaptureHandler m_recaptureHandler;
    bool m_escapeFilterInstalled = false;
};
