#pragma once

#include <QString>

class AppSettings;

// The repairs applied to freshly recognised text before the user sees it: hyphenated words joined again, line
// feeds turned into spaces, whitespace runs collapsed and the ends trimmed. Each repair has its own switch in the
// settings, read at the moment of the call.
class TextCleanup {
public:
    struct Options {
        bool fixHyphenation = true;
        bool removeLineBreaks = false;
        bool cleanupWhitespace = true;
    };

    // Applies the repairs switched on in the settings right now, in the fixed order hyphenation, line feeds,
    // whitespace. Never fails; the result may be empty.
    static QString clean(const QString& text, const AppSettings& settings);
    static QString clean(const QString& text, const Options& options);

    // Removes every hyphen-minus that is followed by whitespace, together with that whitespace ("exam-\nple").
    static QString fixHyphenation(const QString& text);
    // Every line feed becomes one space; nothing else changes.
    static QString removeLineBreaks(const QString& text);
    // Every whitespace run becomes one space, then whitespace and line-end characters are trimmed from both ends.
    static QString cleanupWhitespace(const QString& text);

    // The whitespace the repairs match: tab, line feed, form feed, carriage return and every space, line or
    // paragraph separator (Unicode category Z). Not QRegularExpression's \s, which also takes U+000B and U+0085.
    static bool isWhitespace(QChar c);
    // What trimming removes: U+0009 to U+000D, U+0085 and Unicode category Z.
    static bool isTrimmable(QChar c);
};
