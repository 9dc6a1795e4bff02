#pragma once

#include <QByteArrayView>

// The JSON parser and the values it builds recurse once per level of nesting, so a document of a few hundred
// kilobytes of "[[[[..." would overflow the stack. Every JSON the program reads (API bodies, settings, history)
// is scanned by this check first and refused beyond the limit, before a parser sees it.
class JsonNesting {
public:
    // Far deeper than anything the program writes or reads (its deepest documents nest three levels).
    static constexpr int MaxDepth = 64;

    // True when no array or object in the bytes nests deeper than maxDepth levels. Brackets inside strings
    // (with their escapes) do not count. Linear in the size; the bytes need not be valid JSON.
    static bool isWithinLimit(QByteArrayView bytes, int maxDepth = MaxDepth);
};
