// The text clean-up under all eight combinations of its switches, with what each switch promises checked on the
// result. The input is read as UTF-16 (two bytes a unit), so that lone surrogates and every separator of the
// Basic Multilingual Plane are reachable.
#include "FuzzSupport.h"
#include "core/capture/TextCleanup.h"

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void check(const QString& input, const TextCleanup::Options& options)
{
    const QString output = TextCleanup::clean(input, options);
    // The switches, then the input and the output as UTF-16 in hexadecimal.
    const auto hex = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2).toHex();
    };
    const auto detail = [&] {
        return QString::asprintf("hyphenation %d, line breaks %d, whitespace %d\ninput  %s\noutput %s",
                                 options.fixHyphenation, options.removeLineBreaks, options.cleanupWhitespace,
                                 hex(input).constData(), hex(output).constData());
    };

    // Repairs only ever take characters away or replace one by one.
    FUZZ_CHECK(output.size() <= input.size(), detail());
    // Nothing is split: a text of whole characters stays one.
    if (QStringView(input).isValidUtf16())
        FUZZ_CHECK(QStringView(output).isValidUtf16(), detail());
    // A second pass finds nothing left to repair.
    FUZZ_CHECK(TextCleanup::clean(output, options) == output, detail());

    for (qsizetype i = 0; i < output.size(); ++i) {
        const QChar c = output.at(i);
        const bool whitespaceNext = i + 1 < output.size() && TextCleanup::isWhitespace(output.at(i + 1));
        if (options.fixHyphenation)
            FUZZ_CHECK(!(c == u'-' && whitespaceNext), detail());
        if (options.removeLineBreaks)
            FUZZ_CHECK(c != u'\n', detail());
        if (options.cleanupWhitespace && TextCleanup::isWhitespace(c))
            FUZZ_CHECK(c == u' ' && !whitespaceNext, detail());
    }
    if (options.cleanupWhitespace && !output.isEmpty())
        FUZZ_CHECK(!TextCleanup::isTrimmable(output.front()) && !TextCleanup::isTrimmable(output.back()), detail());
    if (!options.fixHyphenation && !options.removeLineBreaks && !options.cleanupWhitespace)
        FUZZ_CHECK(output == input, detail());
    // Characters that are neither whitespace nor hyphens keep their order and number.
    const auto plain = [](const QString& text) {
        QString kept;
        for (const QChar c : text)
            if (!TextCleanup::isTrimmable(c) && !TextCleanup::isWhitespace(c) && c != u'-')
                kept.append(c);
        return kept;
    };
    FUZZ_CHECK(plain(output) == plain(input), detail());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString input(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(input.data(), data, size_t(input.size()) * 2); // the bytes need not be aligned for char16_t
    for (int combination = 0; combination < 8; ++combination)
        check(input, {(combination & 1) != 0, (combination & 2) != 0, (combination & 4) != 0});
    return 0;
}
