#include "core/shell/HotkeyRecording.h"

#include <gtest/gtest.h>

namespace {

using Outcome = HotkeyRecording::Outcome;

const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
const Qt::KeyboardModifiers Alt = Qt::AltModifier;
const Qt::KeyboardModifiers Super = Qt::MetaModifier;

} // namespace

// Ctrl is the command bit (256), Super the control bit (4096), Alt option (2048), Shift 512.
TEST(HotkeyRecording, PressesRecordRefuseOrCancel)
{
    // The key and modifiers Qt reports, what the key is as the hotkey service reads it, and the result.
    const std::tuple<const char*, int, Qt::KeyboardModifiers, std::optional<quint32>, HotkeyRecording::Result> rows[] =
        {
            {"Super+Alt+F5", Qt::Key_F5, Super | Alt, 96, {Outcome::Record, 96, 6144}},
            {"all four modifiers", Qt::Key_K, Ctrl | Shift | Alt | Super, 40, {Outcome::Record, 40, 6912}},
            {"Super+Shift without Ctrl", Qt::Key_7, Super | Shift, 26, {Outcome::Record, 26, 4608}},
            {"shifted 7 is recorded as the 7 key", Qt::Key_Ampersand, Ctrl | Shift, 26, {Outcome::Record, 26, 768}},
            {"Shift+7 alone", Qt::Key_Ampersand, Shift, 26, {Outcome::NeedsCtrl}},
            {"Alt+Shift are not enough", Qt::Key_K, Alt | Shift, 40, {Outcome::NeedsCtrl}},
            {"Escape", Qt::Key_Escape, Qt::NoModifier, 53, {Outcome::Cancel}},
            {"Escape with modifiers", Qt::Key_Escape, Ctrl | Shift, 53, {Outcome::Cancel}},
            {"Ctrl pressed alone", Qt::Key_Control, Ctrl, 55, {Outcome::Ignore}},
            {"Super pressed while Ctrl is held", Qt::Key_Super_L, Ctrl | Super, 59, {Outcome::Ignore}},
            {"a key without a key code", Qt::Key_Odiaeresis, Ctrl, std::nullopt, {Outcome::UnknownKey}},
        };
    for (const auto& [name, qtKey, modifiers, keyCode, expected] : rows) {
        SCOPED_TRACE(name);
        const HotkeyRecording::Result result = HotkeyRecording::interpret(qtKey, modifiers, keyCode);
        EXPECT_EQ(int(result.outcome), int(expected.outcome));
        EXPECT_EQ(result.keyCode, expected.keyCode);
        EXPECT_EQ(result.modifiers, expected.modifiers);
    }
}
