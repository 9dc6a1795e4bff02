#include "core/shell/HotkeyText.h"

#include <array>
#include <utility>

namespace {

struct CharacterKey {
    quint32 keyCode;
    char character;
};

// The 47 character keys of the ANSI layout with their unshifted characters.
constexpr std::array<CharacterKey, 47> characterKeys{{
    {0, 'a'},   {1, 's'},  {2, 'd'},  {3, 'f'},  {4, 'h'},  {5, 'g'},  {6, 'z'},  {7, 'x'},   {8, 'c'},  {9, 'v'},
    {11, 'b'},  {12, 'q'}, {13, 'w'}, {14, 'e'}, {15, 'r'}, {16, 'y'}, {17, 't'}, {18, '1'},  {19, '2'}, {20, '3'},
    {21, '4'},  {22, '6'}, {23, '5'}, {24, '='}, {25, '9'}, {26, '7'}, {27, '-'}, {28, '8'},  {29, '0'}, {30, ']'},
    {31, 'o'},  {32, 'u'}, {33, '['}, {34, 'i'}, {35, 'p'}, {37, 'l'}, {38, 'j'}, {39, '\''}, {40, 'k'}, {41, ';'},
    {42, '\\'}, {43, ','}, {44, '/'}, {45, 'n'}, {46, 'm'}, {47, '.'}, {50, '`'},
}};

constexpr std::array<std::pair<quint32, Qt::Key>, 26> namedKeys{{
    {36, Qt::Key_Return},  {48, Qt::Key_Tab},    {49, Qt::Key_Space}, {51, Qt::Key_Backspace}, {53, Qt::Key_Escape},
    {117, Qt::Key_Delete}, {115, Qt::Key_Home},  {119, Qt::Key_End},  {116, Qt::Key_PageUp},   {121, Qt::Key_PageDown},
    {123, Qt::Key_Left},   {124, Qt::Key_Right}, {125, Qt::Key_Down}, {126, Qt::Key_Up},       {122, Qt::Key_F1},
    {120, Qt::Key_F2},     {99, Qt::Key_F3},     {118, Qt::Key_F4},   {96, Qt::Key_F5},        {97, Qt::Key_F6},
    {98, Qt::Key_F7},      {100, Qt::Key_F8},    {101, Qt::Key_F9},   {109, Qt::Key_F10},      {103, Qt::Key_F11},
    {111, Qt::Key_F12},
}};

} // namespace

QString HotkeyText::keyEquivalentString(quint32 keyCode)
{
    for (const CharacterKey& key : characterKeys)
        if (key.keyCode == keyCode)
            return QString(QChar::fromLatin1(key.character));
    return {};
}

QString HotkeyText::hotkeyDisplayString(quint32 keyCode, quint32 modifiers)
{
    QString text;
    if (modifiers & ControlMask)
        text += QStringLiteral("⌃");
    if (modifiers & OptionMask)
        text += QStringLiteral("⌥");
    if (modifiers & ShiftMask)
        text += QStringLiteral("⇧");
    if (modifiers & CommandMask)
        text += QStringLiteral("⌘");
    return text + keyEquivalentString(keyCode).toUpper();
}

std::optional<Qt::Key> HotkeyText::qtKey(quint32 keyCode)
{
    // Qt names a character key by the code of its upper-case character (Qt::Key_7 is '7', Qt::Key_A is 'A').
    const QString character = keyEquivalentString(keyCode);
    if (!character.isEmpty())
        return Qt::Key(character.toUpper().at(0).unicode());
    for (const auto& [code, key] : namedKeys)
        if (code == keyCode)
            return key;
    return std::nullopt;
}

Qt::KeyboardModifiers HotkeyText::qtModifiers(quint32 modifiers)
{
    Qt::KeyboardModifiers result;
    if (modifiers & CommandMask)
        result |= Qt::ControlModifier;
    if (modifiers & ShiftMask)
        result |= Qt::ShiftModifier;
    if (modifiers & OptionMask)
        result |= Qt::AltModifier;
    if (modifiers & ControlMask)
        result |= Qt::MetaModifier;
    return result;
}

QKeySequence HotkeyText::keySequence(quint32 keyCode, quint32 modifiers)
{
    const std::optional<Qt::Key> key = qtKey(keyCode);
    if (!key)
        return {};
    return QKeySequence(QKeyCombination(qtModifiers(modifiers), *key));
}

QString HotkeyText::desktopString(quint32 keyCode, quint32 modifiers)
{
    const QKeySequence sequence = keySequence(keyCode, modifiers);
    QString text;
    if (!sequence.isEmpty()) {
        text = sequence.toString(QKeySequence::NativeText);
    } else {
        // A key Qt cannot name still shows its modifiers, in Qt's words and order: those of the same modifiers on
        // a key it can name, without that key.
        if (qtModifiers(modifiers) == Qt::NoModifier)
            return {};
        text = QKeySequence(QKeyCombination(qtModifiers(modifiers), Qt::Key_A)).toString(QKeySequence::NativeText);
        text.chop(2);
    }
    // Qt calls the Super key Meta, which is not what is written on it nor what Linux desktops call it. Qt writes it
    // first.
    if (modifiers & ControlMask) {
        QString meta = QKeySequence(QKeyCombination(Qt::MetaModifier, Qt::Key_A)).toString(QKeySequence::NativeText);
        meta.chop(1); // "Meta+"
        if (text.startsWith(meta))
            text.replace(0, meta.size(), QStringLiteral("Super+"));
        else if (text == meta.chopped(1))
            text = QStringLiteral("Super");
    }
    return text;
}
