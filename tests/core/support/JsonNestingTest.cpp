#include "core/support/JsonNesting.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

QByteArray nested(int levels, const QByteArray& inside = {})
{
    return QByteArray(levels, '[') + inside + QByteArray(levels, ']');
}

} // namespace

TEST(JsonNesting, CountsOnlyBracketsOutsideStrings)
{
    const std::vector<std::tuple<const char*, QByteArray, bool>> rows = {
        {"at the limit", nested(JsonNesting::MaxDepth), true},
        {"one level beyond", nested(JsonNesting::MaxDepth + 1), false},
        {"objects count like arrays", QByteArray(65, '{'), false},
        {"mixed objects and arrays", "{\"a\":" + nested(63) + "}", true},
        {"mixed, one beyond", "{\"a\":" + nested(64) + "}", false},
        {"brackets inside a string", "[\"" + QByteArray(1000, '[') + "\"]", true},
        {"an escaped quote does not end the string", "[\"\\\"" + QByteArray(1000, '[') + "\"]", true},
        {"an escaped backslash does end it", "[\"\\\\\"" + QByteArray(65, '[') + "]", false},
        {"siblings do not add up", nested(40) + nested(40) + nested(40), true},
        {"stray closers buy no room", QByteArray(100, ']') + nested(65), false},
        {"deep nesting after a closed string", "[\"]]]\"," + nested(64) + "]", false},
    };
    for (const auto& [name, bytes, within] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(JsonNesting::isWithinLimit(bytes), within);
    }
}
