#pragma once

#include "core/platform/SyntheticInput.h"

#include <QHash>
#include <QList>

#include <memory>

// Synthetic input through the X server's XTest extension, on an X connection of its own. Characters the keyboard
// layout lacks are typed through spare key codes (ones without keysyms) that are given the character's keysym for
// the time being; they get their empty mapping back on releaseSpareKeys() and when the object goes. Keys and
// buttons still held then are let go.
class XTestSyntheticInput : public SyntheticInput {
public:
    XTestSyntheticInput();
    ~XTestSyntheticInput() override;
    XTestSyntheticInput(const XTestSyntheticInput&) = delete;
    XTestSyntheticInput& operator=(const XTestSyntheticInput&) = delete;

    bool isAvailable() const override;
    QPointF pointerPosition() const override;
    void movePointer(const QPointF& position) override;
    void buttonDown(MouseButton button) override;
    void buttonUp(MouseButton button) override;
    void click(MouseButton button, int count, quint32 modifiers) override;
    bool keyDown(quint32 keyCode, quint32 modifiers) override;
    bool keyUp(quint32 keyCode, quint32 modifiers) override;
    qsizetype typeText(const QString& text) override;
    void releaseSpareKeys() override;

private:
    struct Keymap;
    struct Stroke {
        quint8 keycode = 0; // 0: the keysym cannot be typed
        bool shift = false;
        bool busy = false; // every spare key carries a character typed moments ago
    };

    bool sendKey(quint32 keyCode, quint32 modifiers, bool press);
    void fakeKey(quint8 keycode, bool press);
    void fakeButton(quint8 button, bool press);
    void sync();
    std::unique_ptr<Keymap> loadKeymap() const;
    // The key (and whether Shift is needed) that types the keysym, borrowing a spare key code when none does.
    Stroke strokeFor(quint32 keysym, Keymap& keymap);
    void pressModifiers(quint32 modifiers, Keymap& keymap);
    void releaseModifiers(quint32 modifiers, Keymap& keymap);

    struct Private;
    std::unique_ptr<Private> d;
};
