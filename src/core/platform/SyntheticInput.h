#pragma once

#include <QPointF>
#include <QString>
#include <QtGlobal>

// Posts input events to the desktop as if they came from the user's devices, so that they reach every
// application, this one included. Positions are Qt's global coordinates (points, origin top-left); key codes and
// modifier masks use the program's convention (HotkeyService.h). Call on the main thread.
class SyntheticInput {
public:
    enum class MouseButton { Left, Right, Middle };

    virtual ~SyntheticInput() = default;

    // Whether the desktop accepts synthetic input from this process.
    virtual bool isAvailable() const = 0;
    // Why it is not available, in words for the API's callers; empty when there is nothing more to say than that
    // the X server lacks the XTEST extension.
    virtual QString unavailableReason() const { return {}; }

    // The pointer's position now.
    virtual QPointF pointerPosition() const = 0;
    virtual void movePointer(const QPointF& position) = 0;
    virtual void buttonDown(MouseButton button) = 0;
    virtual void buttonUp(MouseButton button) = 0;
    // count presses and releases of the button at the pointer, with the modifier keys held throughout; two in a
    // row are a double click. A count below 1 clicks nothing.
    virtual void click(MouseButton button, int count, quint32 modifiers) = 0;

    // Presses the modifier keys of the mask that are not already down (command, shift, option, control in that
    // order), then the key. False, with nothing pressed, when the key code names no key.
    virtual bool keyDown(quint32 keyCode, quint32 modifiers) = 0;
    // Lets go of the key, then of the mask's modifier keys in reverse order.
    virtual bool keyUp(quint32 keyCode, quint32 modifiers) = 0;
    // Types the text character by character, whatever the keyboard layout: characters the layout lacks go through
    // spare keys that carry them until releaseSpareKeys(). Returns how much of the text (in UTF-16 code units) it
    // dealt with: all of it, or less when every spare key carries a character typed moments ago that its receiver
    // may not have read yet; the caller types the rest a little later.
    virtual qsizetype typeText(const QString& text) = 0;
    // Gives the spare keys their empty mapping back, once the receivers have had time to read what they typed.
    virtual void releaseSpareKeys() = 0;
};
