#include "core/api/KeyNames.h"

#include "core/shell/HotkeyText.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

// The ANSI keyboard's positions, whatever layout is active.
constexpr std::array<std::pair<std::string_view, quint32>, 75> keys{{
    {"a", 0},       {"b", 11},       {"c", 8},          {"d", 2},      {"e", 14},     {"f", 3},       {"g", 5},
    {"h", 4},       {"i", 34},       {"j", 38},         {"k", 40},     {"l", 37},     {"m", 46},      {"n", 45},
    {"o", 31},      {"p", 35},       {"q", 12},         {"r", 15},     {"s", 1},      {"t", 17},      {"u", 32},
    {"v", 9},       {"w", 13},       {"x", 7},          {"y", 16},     {"z", 6},      {"0", 29},      {"1", 18},
    {"2", 19},      {"3", 20},       {"4", 21},         {"5", 23},     {"6", 22},     {"7", 26},      {"8", 28},
    {"9", 25},      {"return", 36},  {"enter", 36},     {"tab", 48},   {"space", 49}, {"delete", 51}, {"backspace", 51},
    {"escape", 53}, {"esc", 53},     {"up", 126},       {"down", 125}, {"left", 123}, {"right", 124}, {"home", 115},
    {"end", 119},   {"pageup", 116}, {"pagedown", 121}, {"f1", 122},   {"f2", 120},   {"f3", 99},     {"f4", 118},
    {"f5", 96},     {"f6", 97},      {"f7", 98},        {"f8", 100},   {"f9", 101},   {"f10", 109},   {"f11", 103},
    {"f12", 111},   {"-", 27},       {"=", 24},         {"[", 33},     {"]", 30},     {";", 41},      {"'", 39},
    {",", 43},      {".", 47},       {"/", 44},         {"\\", 42},    {"`", 50},
}};

constexpr std::array<std::pair<std::string_view, quint32>, 10> modifiers{{
    {"shift", HotkeyText::ShiftMask},
    {"command", HotkeyText::CommandMask},
    {"cmd", HotkeyText::CommandMask},
    {"control", HotkeyText::CommandMask},
    {"ctrl", HotkeyText::CommandMask},
    {"option", HotkeyText::OptionMask},
    {"alt", HotkeyText::OptionMask},
    {"super", HotkeyText::ControlMask},
    {"meta", HotkeyText::ControlMask},
    {"win", HotkeyText::ControlMask},
}};

template <size_t N>
std::optional<quint32> lookUp(const std::array<std::pair<std::string_view, quint32>, N>& table, const QString& name)
{
    const QByteArray lower = name.toLower().toUtf8();
    for (const auto& [key, value] : table)
        if (std::string_view(lower.constData(), size_t(lower.size())) == key)
            return value;
    return std::nullopt;
}

} // namespace

std::optional<quint32> KeyNames::keyCode(const QString& name)
{
    return lookUp(keys, name);
}

std::optional<quint32> KeyNames::modifierMask(const QString& name)
{
    return lookUp(modifiers, name);
}

quint32 KeyNames::modifierKeyCode(quint32 mask)
{
    switch (mask) {
    case HotkeyText::CommandMask:
        return 55;
    case HotkeyText::ShiftMask:
        return 56;
    case HotkeyText::OptionMask:
        return 58;
    default:
        return 59;
    }
}
