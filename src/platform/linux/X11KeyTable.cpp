#include "platform/linux/X11KeyTable.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr quint32 CommandMask = 256;
constexpr quint32 ShiftModifier = 512;
constexpr quint32 OptionMask = 2048;
constexpr quint32 ControlModifier = 4096;

// Sorted by key code.
constexpr std::array<std::pair<quint32, quint32>, 77> keys{{
    {0, XK_a},       {1, XK_s},          {2, XK_d},
    {3, XK_f},       {4, XK_h},          {5, XK_g},
    {6, XK_z},       {7, XK_x},          {8, XK_c},
    {9, XK_v},       {11, XK_b},         {12, XK_q},
    {13, XK_w},      {14, XK_e},         {15, XK_r},
    {16, XK_y},      {17, XK_t},         {18, XK_1},
    {19, XK_2},      {20, XK_3},         {21, XK_4},
    {22, XK_6},      {23, XK_5},         {24, XK_equal},
    {25, XK_9},      {26, XK_7},         {27, XK_minus},
    {28, XK_8},      {29, XK_0},         {30, XK_bracketright},
    {31, XK_o},      {32, XK_u},         {33, XK_bracketleft},
    {34, XK_i},      {35, XK_p},         {36, XK_Return},
    {37, XK_l},      {38, XK_j},         {39, XK_apostrophe},
    {40, XK_k},      {41, XK_semicolon}, {42, XK_backslash},
    {43, XK_comma},  {44, XK_slash},     {45, XK_n},
    {46, XK_m},      {47, XK_period},    {48, XK_Tab},
    {49, XK_space},  {50, XK_grave},     {51, XK_BackSpace},
    {53, XK_Escape}, {55, XK_Control_L}, {56, XK_Shift_L},
    {58, XK_Alt_L},  {59, XK_Super_L},   {96, XK_F5},
    {97, XK_F6},     {98, XK_F7},        {99, XK_F3},
    {100, XK_F8},    {101, XK_F9},       {103, XK_F11},
    {109, XK_F10},   {111, XK_F12},      {115, XK_Home},
    {116, XK_Prior}, {117, XK_Delete},   {118, XK_F4},
    {119, XK_End},   {120, XK_F2},       {121, XK_Next},
    {122, XK_F1},    {123, XK_Left},     {124, XK_Right},
    {125, XK_Down},  {126, XK_Up},
}};
// keysym() searches the table by bisection.
static_assert(std::is_sorted(keys.begin(), keys.end()));

struct ModifierKey {
    quint32 modifier;
    quint16 xMask;
    quint32 keyCode;
};
// Pressing order of the modifier keys.
constexpr std::array<ModifierKey, 4> modifierKeys{{
    {CommandMask, ControlMask, 55},
    {ShiftModifier, ShiftMask, 56},
    {OptionMask, Mod1Mask, 58},
    {ControlModifier, Mod4Mask, 59},
}};

} // namespace

std::optional<quint32> X11KeyTable::keysym(quint32 keyCode)
{
    const auto it =
        std::lower_bound(keys.begin(), keys.end(), keyCode,
                         [](const std::pair<quint32, quint32>& entry, quint32 code) { return entry.first < code; });
    if (it == keys.end() || it->first != keyCode)
        return std::nullopt;
    return it->second;
}

std::optional<quint32> X11KeyTable::keyCode(quint32 keysym)
{
    if (keysym >= XK_A && keysym <= XK_Z)
        keysym += XK_a - XK_A;
    for (const auto& [code, sym] : keys)
        if (sym == keysym)
            return code;
    return std::nullopt;
}

QList<quint32> X11KeyTable::keyCodes()
{
    QList<quint32> codes;
    for (const auto& entry : keys)
        codes.append(entry.first);
    return codes;
}

quint16 X11KeyTable::xModifiers(quint32 modifiers)
{
    quint16 mask = 0;
    for (const ModifierKey& key : modifierKeys)
        if (modifiers & key.modifier)
            mask |= key.xMask;
    return mask;
}

quint32 X11KeyTable::modifiersFromX(quint16 state)
{
    quint32 modifiers = 0;
    for (const ModifierKey& key : modifierKeys)
        if (state & key.xMask)
            modifiers |= key.modifier;
    return modifiers;
}

QList<quint32> X11KeyTable::modifierKeyCodes(quint32 modifiers)
{
    QList<quint32> codes;
    for (const ModifierKey& key : modifierKeys)
        if (modifiers & key.modifier)
            codes.append(key.keyCode);
    return codes;
}
