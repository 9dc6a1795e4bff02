#include "core/capture/TextCleanup.h"

#include "QStringPrinter.h"
#include "TestStores.h"

#include <gtest/gtest.h>

namespace {

using Options = TextCleanup::Options;

constexpr Options defaults{true, false, true};
constexpr Options onlyLineBreaks{false, true, false};

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

TEST(TextCleanup, Examples)
{
    const std::vector<std::tuple<const char*, Options, QString, QString>> rows = {
        {"broken words joined, runs collapsed", defaults, u(u"Inter-\nnational  trade\nagree-\n ment"),
         u(u"International trade agreement")},
        {"hyphen at the end stays", defaults, u(u"end-"), u(u"end-")},
        {"only a hyphen before whitespace goes", defaults, u(u"x -y a - b"), u(u"x -y a b")},
        {"matches do not overlap", defaults, u(u"a- - b"), u(u"ab")},
        {"unicode hyphen and dashes stay", defaults, u(u"a\u2010\nb a\u2013 b a\u00AD\nb"),
         u(u"a\u2010 b a\u2013 b a\u00AD b")},
        {"each line feed becomes a space, carriage returns stay", onlyLineBreaks, u(u"a\n\nb\r\nc"), u(u"a  b\r c")},
    };
    for (const auto& [name, options, input, expected] : rows)
        EXPECT_EQ(TextCleanup::clean(input, options), expected) << name;
}

// The two character sets differ from QRegularExpression's \s and from QChar::isSpace(): a wrong set shows as a
// vertical tab or U+0085 collapsed, or an ideographic space left in place. Rows for the characters every set
// agrees on (line feed, space) are left out.
TEST(TextCleanup, WhitespaceAndTrimmingSets)
{
    // Each row: collapsed by the whitespace run replacement, and removed at the ends.
    const std::vector<std::tuple<const char*, char16_t, bool, bool>> rows = {
        {"vertical tab", 0x000B, false, true},  {"next line", 0x0085, false, true},
        {"no-break space", 0x00A0, true, true}, {"ideographic space", 0x3000, true, true},
        {"line separator", 0x2028, true, true}, {"zero width space", 0x200B, false, false},
    };
    for (const auto& [name, code, matched, trimmed] : rows) {
        const QChar c(code);
        const QString inside = QStringLiteral("a") + c + c + QStringLiteral("b");
        EXPECT_EQ(TextCleanup::cleanupWhitespace(inside), matched ? QStringLiteral("a b") : inside) << name;
        const QString ends = QString(c) + QStringLiteral("x") + c;
        EXPECT_EQ(TextCleanup::cleanupWhitespace(ends), trimmed ? QStringLiteral("x") : ends) << name;
        EXPECT_EQ(TextCleanup::fixHyphenation(QStringLiteral("a-") + c + QStringLiteral("b")),
                  matched ? QStringLiteral("ab") : QStringLiteral("a-") + c + QStringLiteral("b"))
            << name;
    }
}

TEST(TextCleanup, ReadsTheSwitchesAtEveryCall)
{
    TestSettings s;
    const QString text = QStringLiteral("exam-\nple  one\ntwo");

    EXPECT_EQ(TextCleanup::clean(text, s.settings), QStringLiteral("example one two"));
    s.settings.setFixHyphenation(false);
    s.settings.setCleanupWhitespace(false);
    s.settings.setRemoveLineBreaks(true);
    EXPECT_EQ(TextCleanup::clean(text, s.settings), QStringLiteral("exam- ple  one two"));
}
