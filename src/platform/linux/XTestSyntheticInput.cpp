#include "platform/linux/XTestSyntheticInput.h"

#include "platform/linux/NativeScreenGeometry.h"
#include "platform/linux/X11KeyTable.h"
#include "platform/linux/XcbReply.h"

#include <QThread>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// How long a spare key keeps the character it typed last before it may be given another one. Receivers read a
// new mapping when they get to its notification, and a key remapped before then types the new character instead.
constexpr std::chrono::milliseconds SpareKeyReuseDelay{100};

} // namespace

struct XTestSyntheticInput::Private {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    bool available = false;
    QList<quint8> heldKeys;
    QList<quint8> heldButtons;
    // Spare key codes lent to characters, the keysym each now types, the order they were lent in and when each
    // last typed.
    QHash<quint8, xcb_keysym_t> borrowed;
    QList<quint8> borrowOrder;
    QHash<quint8, std::chrono::steady_clock::time_point> lastTyped;
};

struct XTestSyntheticInput::Keymap {
    xcb_keycode_t minKeycode = 0;
    int perKeycode = 0;
    std::vector<xcb_keysym_t> keysyms;

    xcb_keysym_t at(quint8 keycode, int column) const
    {
        const size_t index = size_t(keycode - minKeycode) * size_t(perKeycode) + size_t(column);
        return column < perKeycode && keycode >= minKeycode && index < keysyms.size() ? keysyms[index] : 0;
    }
    int count() const { return perKeycode ? int(keysyms.size()) / perKeycode : 0; }
};

namespace {

xcb_keysym_t keysymForCharacter(char32_t character)
{
    if (character == U'\n' || character == U'\r')
        return XK_Return;
    if (character == U'\t')
        return XK_Tab;
    if ((character >= 0x20 && character <= 0x7e) || (character >= 0xa0 && character <= 0xff))
        return character;
    return 0x01000000 | character;
}

quint8 buttonNumber(SyntheticInput::MouseButton button)
{
    switch (button) {
    case SyntheticInput::MouseButton::Left:
        return 1;
    case SyntheticInput::MouseButton::Middle:
        return 2;
    case SyntheticInput::MouseButton::Right:
        return 3;
    }
    return 1;
}

} // namespace

XTestSyntheticInput::XTestSyntheticInput()
    : d(std::make_unique<Private>())
{
    int screenNumber = 0;
    d->connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(d->connection))
        return;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(d->connection));
    for (int i = 0; i < screenNumber && screens.rem > 1; ++i)
        xcb_screen_next(&screens);
    d->root = screens.data->root;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(d->connection, &xcb_test_id);
    d->available = xtest && xtest->present;
}

XTestSyntheticInput::~XTestSyntheticInput()
{
    if (d->available) {
        for (const quint8 button : QList<quint8>(d->heldButtons))
            fakeButton(button, false);
        for (auto it = d->heldKeys.crbegin(); it != d->heldKeys.crend(); ++it)
            xcb_test_fake_input(d->connection, XCB_KEY_RELEASE, *it, XCB_CURRENT_TIME, d->root, 0, 0, 0);
        // Give the receivers a moment to read their last borrowed characters before the keys lose them.
        if (!d->borrowed.isEmpty()) {
            sync();
            QThread::msleep(50);
            releaseSpareKeys();
        }
        sync();
    }
    xcb_disconnect(d->connection);
}

bool XTestSyntheticInput::isAvailable() const
{
    return d->available;
}

QPointF XTestSyntheticInput::pointerPosition() const
{
    if (xcb_connection_has_error(d->connection))
        return {};
    XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(d->connection, xcb_query_pointer(d->connection, d->root), nullptr));
    return pointer ? NativeScreenGeometry::fromNative(QPoint(pointer->root_x, pointer->root_y)) : QPointF();
}

void XTestSyntheticInput::releaseSpareKeys()
{
    if (d->borrowed.isEmpty())
        return;
    const xcb_keysym_t empty[2] = {0, 0};
    for (const quint8 keycode : std::as_const(d->borrowOrder))
        xcb_change_keyboard_mapping(d->connection, 1, keycode, 2, empty);
    d->borrowed.clear();
    d->borrowOrder.clear();
    d->lastTyped.clear();
    sync();
}

void XTestSyntheticInput::sync()
{
    XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(d->connection, xcb_get_input_focus(d->connection), nullptr));
}

void XTestSyntheticInput::fakeKey(quint8 keycode, bool press)
{
    xcb_test_fake_input(d->connection, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, d->root, 0,
                        0, 0);
    if (press) {
        d->heldKeys.append(keycode);
    } else {
        d->heldKeys.removeOne(keycode);
    }
}

void XTestSyntheticInput::fakeButton(quint8 button, bool press)
{
    xcb_test_fake_input(d->connection, press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, d->root,
                        0, 0, 0);
    if (press) {
        d->heldButtons.append(button);
    } else {
        d->heldButtons.removeOne(button);
    }
}

void XTestSyntheticInput::movePointer(const QPointF& position)
{
    if (!d->available)
        return;
    // The protocol's coordinates are 16-bit; a point beyond them goes to the edge rather than wrapping around.
    const QPoint native = NativeScreenGeometry::toNative(position);
    xcb_test_fake_input(d->connection, XCB_MOTION_NOTIFY, false, XCB_CURRENT_TIME, d->root,
                        qint16(qBound(-32768, native.x(), 32767)), qint16(qBound(-32768, native.y(), 32767)), 0);
    xcb_flush(d->connection);
}

void XTestSyntheticInput::buttonDown(MouseButton button)
{
    if (!d->available)
        return;
    fakeButton(buttonNumber(button), true);
    xcb_flush(d->connection);
}

void XTestSyntheticInput::buttonUp(MouseButton button)
{
    if (!d->available)
        return;
    fakeButton(buttonNumber(button), false);
    xcb_flush(d->connection);
}

void XTestSyntheticInput::click(MouseButton button, int count, quint32 modifiers)
{
    if (!d->available || count < 1)
        return;
    std::unique_ptr<Keymap> keymap = loadKeymap();
    pressModifiers(modifiers, *keymap);
    for (int i = 0; i < count; ++i) {
        fakeButton(buttonNumber(button), true);
        fakeButton(buttonNumber(button), false);
    }
    releaseModifiers(modifiers, *keymap);
    xcb_flush(d->connection);
}

std::unique_ptr<XTestSyntheticInput::Keymap> XTestSyntheticInput::loadKeymap() const
{
    auto keymap = std::make_unique<Keymap>();
    const xcb_setup_t* setup = xcb_get_setup(d->connection);
    keymap->minKeycode = setup->min_keycode;
    const quint8 count = setup->max_keycode - setup->min_keycode + 1;
    XcbReply<xcb_get_keyboard_mapping_reply_t> reply(xcb_get_keyboard_mapping_reply(
        d->connection, xcb_get_keyboard_mapping(d->connection, setup->min_keycode, count), nullptr));
    if (!reply)
        return keymap;
    keymap->perKeycode = reply->keysyms_per_keycode;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    keymap->keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    return keymap;
}

XTestSyntheticInput::Stroke XTestSyntheticInput::strokeFor(quint32 keysym, Keymap& keymap)
{
    for (int column = 0; column < 2; ++column)
        for (int i = 0; i < keymap.count(); ++i) {
            const quint8 keycode = quint8(keymap.minKeycode + i);
            if (keymap.at(keycode, column) == keysym)
                return {keycode, column == 1};
        }

    // No key types it: lend it a spare key code (one without keysyms), the least recently lent one when all are
    // taken, once its last character has had time to arrive.
    quint8 spare = 0;
    for (int i = keymap.count() - 1; i >= 0 && !spare; --i) {
        const quint8 keycode = quint8(keymap.minKeycode + i);
        bool empty = true;
        for (int column = 0; column < keymap.perKeycode && empty; ++column)
            empty = keymap.at(keycode, column) == 0;
        if (empty && !d->borrowed.contains(keycode))
            spare = keycode;
    }
    if (!spare) {
        if (d->borrowOrder.isEmpty())
            return {};
        if (std::chrono::steady_clock::now() - d->lastTyped.value(d->borrowOrder.first()) < SpareKeyReuseDelay)
            return {0, false, true};
        spare = d->borrowOrder.takeFirst();
    } else {
        d->borrowOrder.removeOne(spare);
    }
    d->borrowOrder.append(spare);
    d->borrowed.insert(spare, keysym);
    d->lastTyped.insert(spare, std::chrono::steady_clock::now());
    const xcb_keysym_t keysyms[2] = {keysym, keysym};
    xcb_change_keyboard_mapping(d->connection, 1, spare, 2, keysyms);
    const size_t index = size_t(spare - keymap.minKeycode) * size_t(keymap.perKeycode);
    std::fill_n(keymap.keysyms.begin() + qsizetype(index), keymap.perKeycode, 0);
    keymap.keysyms[index] = keysym;
    if (keymap.perKeycode > 1)
        keymap.keysyms[index + 1] = keysym;
    // Clients learn about the new mapping from an event; the key press must not overtake it.
    sync();
    return {spare, false};
}

void XTestSyntheticInput::pressModifiers(quint32 modifiers, Keymap& keymap)
{
    for (const quint32 modifierKey : X11KeyTable::modifierKeyCodes(modifiers)) {
        const Stroke stroke = strokeFor(*X11KeyTable::keysym(modifierKey), keymap);
        if (stroke.keycode && !d->heldKeys.contains(stroke.keycode))
            fakeKey(stroke.keycode, true);
    }
}

void XTestSyntheticInput::releaseModifiers(quint32 modifiers, Keymap& keymap)
{
    const QList<quint32> modifierKeys = X11KeyTable::modifierKeyCodes(modifiers);
    for (auto it = modifierKeys.crbegin(); it != modifierKeys.crend(); ++it) {
        const Stroke stroke = strokeFor(*X11KeyTable::keysym(*it), keymap);
        if (stroke.keycode && d->heldKeys.contains(stroke.keycode))
            fakeKey(stroke.keycode, false);
    }
}

bool XTestSyntheticInput::keyDown(quint32 keyCode, quint32 modifiers)
{
    return sendKey(keyCode, modifiers, true);
}

bool XTestSyntheticInput::keyUp(quint32 keyCode, quint32 modifiers)
{
    return sendKey(keyCode, modifiers, false);
}

// Modifiers go down before the key and come up after it.
bool XTestSyntheticInput::sendKey(quint32 keyCode, quint32 modifiers, bool press)
{
    const std::optional<quint32> keysym = X11KeyTable::keysym(keyCode);
    if (!d->available || !keysym)
        return false;
    std::unique_ptr<Keymap> keymap = loadKeymap();
    const Stroke stroke = strokeFor(*keysym, *keymap);
    if (!stroke.keycode)
        return false;
    if (press)
        pressModifiers(modifiers, *keymap);
    fakeKey(stroke.keycode, press);
    if (!press)
        releaseModifiers(modifiers, *keymap);
    xcb_flush(d->connection);
    return true;
}

qsizetype XTestSyntheticInput::typeText(const QString& text)
{
    if (!d->available || text.isEmpty())
        return text.size();
    std::unique_ptr<Keymap> keymap = loadKeymap();
    xcb_keycode_t shiftKey = 0;
    for (int i = 0; i < keymap->count() && !shiftKey; ++i)
        if (keymap->at(quint8(keymap->minKeycode + i), 0) == XK_Shift_L)
            shiftKey = xcb_keycode_t(keymap->minKeycode + i);

    qsizetype done = 0;
    while (done < text.size()) {
        const char32_t character = text.at(done).isHighSurrogate() && done + 1 < text.size()
                                       ? QChar::surrogateToUcs4(text.at(done), text.at(done + 1))
                                       : text.at(done).unicode();
        if (QChar::isSurrogate(character)) { // half a pair: nothing to type
            ++done;
            continue;
        }
        const Stroke stroke = strokeFor(keysymForCharacter(character), *keymap);
        if (stroke.busy)
            break;
        done += QChar::requiresSurrogates(character) ? 2 : 1;
        if (!stroke.keycode)
            continue;
        const bool shift = stroke.shift && shiftKey;
        if (shift)
            fakeKey(shiftKey, true);
        fakeKey(stroke.keycode, true);
        fakeKey(stroke.keycode, false);
        if (shift)
            fakeKey(shiftKey, false);
        if (d->borrowed.contains(stroke.keycode))
            d->lastTyped.insert(stroke.keycode, std::chrono::steady_clock::now());
    }
    sync();
    return done;
}
