#include "widgets/preferences/HotkeyRecorderView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

HotkeyRecorderView::HotkeyRecorderView(KeyCodeOfKey keyCodeOfKey, QWidget* parent)
    : QLabel(parent)
    , m_keyCodeOfKey(std::move(keyCodeOfKey))
{
    setObjectName(QStringLiteral("hotkeyRecorder"));
    //% "Press the new hotkey…"
    setText(qtTrId("prefs.hotkey.recording"));
    setAccessibleName(text());
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("QLabel#hotkeyRecorder { color: #d35400; background: rgba(243, 156, 18, 38); "
                                 "border-radius: 6px; padding: 4px 10px; }"));
    setFocusPolicy(Qt::NoFocus);
}

void HotkeyRecorderView::setRecording(bool recording)
{
    if (m_recording == recording)
        return;
    m_recording = recording;
    m_hadFocus = false;
    // Whoever ends the recording decides where the focus goes next.
    setFocusPolicy(recording ? Qt::StrongFocus : Qt::NoFocus);
    if (!recording) {
        if (QWidget::keyboardGrabber() == this)
            releaseKeyboard();
        return;
    }
    QTimer::singleShot(0, this, [self = QPointer(this)] {
        if (self && self->m_recording)
            self->setFocus(Qt::OtherFocusReason);
    });
}

bool HotkeyRecorderView::event(QEvent* event)
{
    if (m_recording) {
        // Every key is the recorder's: no shortcut of the window fires, and Tab does not move the focus.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QLabel::event(event);
}

void HotkeyRecorderView::keyPressEvent(QKeyEvent* event)
{
    if (!m_recording) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat())
        return;
    const std::optional<quint32> keyCode =
        m_keyCodeOfKey ? m_keyCodeOfKey(event->nativeScanCode(), event->nativeModifiers()) : std::nullopt;
    const HotkeyRecording::Result result = HotkeyRecording::interpret(event->key(), event->modifiers(), keyCode);
    switch (result.outcome) {
    case HotkeyRecording::Outcome::Record:
        setRecording(false);
        emit hotkeyRecorded(result.keyCode, result.modifiers);
        return;
    case HotkeyRecording::Outcome::Cancel:
        setRecording(false);
        emit cancelled();
        return;
    case HotkeyRecording::Outcome::NeedsCtrl:
    case HotkeyRecording::Outcome::UnknownKey:
        QApplication::beep();
        emit refused(result.outcome);
        return;
    case HotkeyRecording::Outcome::Ignore:
        return;
    }
}

void HotkeyRecorderView::focusInEvent(QFocusEvent* event)
{
    m_hadFocus = true;
    // The whole keyboard while listening: a combination that another program has taken for itself (a passive
    // grab) would otherwise go to that program and never reach the recorder.
    if (m_recording)
        grabKeyboard();
    QLabel::focusInEvent(event);
}

void HotkeyRecorderView::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    if (m_recording && m_hadFocus) {
        setRecording(false);
        emit cancelled();
    }
}
