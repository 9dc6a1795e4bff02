#pragma once

#include "core/shell/HotkeyRecording.h"

#include <QLabel>

#include <functional>
#include <optional>

// Listens for a new hotkey. While recording it shows that it listens and holds the keyboard focus; a press with Ctrl
// or Super records the pressed key's key code and the modifiers, Escape cancels, other presses beep and it keeps
// listening. Losing the focus (another window, a click elsewhere) cancels, so that the hotkey is never left
// released. While it listens it holds the keyboard, so that key presses reach it before shortcuts, focus keys and
// other programs' hotkeys.
class HotkeyRecorderView : public QLabel {
    Q_OBJECT

public:
    // keyCodeOfKey reads a key's key code from its native scan code and modifier state.
    using KeyCodeOfKey = std::function<std::optional<quint32>(quint32 nativeScanCode, quint32 nativeModifiers)>;

    explicit HotkeyRecorderView(KeyCodeOfKey keyCodeOfKey, QWidget* parent = nullptr);

    bool isRecording() const { return m_recording; }
    // Starts or ends listening; starting moves the keyboard focus here on the next turn of the event loop.
    void setRecording(bool recording);

signals:
    void hotkeyRecorded(quint32 keyCode, quint32 modifiers);
    void cancelled();
    // A press that cannot make a hotkey (NeedsCtrl or UnknownKey); the beep has been played.
    void refused(HotkeyRecording::Outcome reason);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    KeyCodeOfKey m_keyCodeOfKey;
    bool m_recording = false;
    bool m_hadFocus = false;
};
