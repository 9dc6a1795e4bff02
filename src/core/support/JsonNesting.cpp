#include "core/support/JsonNesting.h"

bool JsonNesting::isWithinLimit(QByteArrayView bytes, int maxDepth)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : bytes) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '[':
        case '{':
            if (++depth > maxDepth)
                return false;
            break;
        case ']':
        case '}':
            // A stray closing bracket is the parser's to refuse; it must not buy room for deeper nesting.
            if (depth > 0)
                --depth;
            break;
        default:
            break;
        }
    }
    return true;
}
