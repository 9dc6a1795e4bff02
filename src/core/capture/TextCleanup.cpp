#include "core/capture/TextCleanup.h"

#include "core/settings/AppSettings.h"

QString TextCleanup::clean(const QString& text, const AppSettings& settings)
{
    return clean(text, Options{settings.fixHyphenation(), settings.removeLineBreaks(), settings.cleanupWhitespace()});
}

QString TextCleanup::clean(const QString& text, const Options& options)
{
    QString result = text;
    if (options.fixHyphenation)
        result = fixHyphenation(result);
    if (options.removeLineBreaks)
        result = removeLineBreaks(result);
    if (options.cleanupWhitespace)
        result = cleanupWhitespace(result);
    return result;
}

bool TextCleanup::isWhitespace(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u == 0x20 || u == 0x09 || u == 0x0A || u == 0x0C || u == 0x0D;
    // Every category Z character lies in the Basic Multilingual Plane, so looking at single UTF-16 units is exact.
    const QChar::Category category = c.category();
    return category == QChar::Separator_Space || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

bool TextCleanup::isTrimmable(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u == 0x20 || (u >= 0x09 && u <= 0x0D);
    if (u == 0x0085)
        return true;
    const QChar::Category category = c.category();
    return category == QChar::Separator_Space || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

// Same result as replacing every match of -\s+ with nothing, matching left to right without overlap: after a
// match the scan resumes right behind the whitespace run, so "- - x" loses both hyphens.
QString TextCleanup::fixHyphenation(const QString& text)
{
    const qsizetype size = text.size();
    // Written into a buffer of the input's size: the result is never longer, and a per-character append would
    // cost more than the scan itself.
    QString result(size, Qt::Uninitialized);
    QChar* out = result.data();
    const QChar* data = text.constData();
    qsizetype i = 0;
    while (i < size) {
        if (data[i] == u'-' && i + 1 < size && isWhitespace(data[i + 1])) {
            i += 2;
            while (i < size && isWhitespace(data[i]))
                ++i;
            continue;
        }
        *out++ = data[i++];
    }
    result.truncate(out - result.constData());
    return result;
}

QString TextCleanup::removeLineBreaks(const QString& text)
{
    QString result = text;
    result.replace(u'\n', u' ');
    return result;
}

QString TextCleanup::cleanupWhitespace(const QString& text)
{
    const qsizetype size = text.size();
    QString collapsed(size, Qt::Uninitialized);
    QChar* out = collapsed.data();
    const QChar* data = text.constData();
    qsizetype i = 0;
    while (i < size) {
        if (isWhitespace(data[i])) {
            *out++ = u' ';
            while (i < size && isWhitespace(data[i]))
                ++i;
            continue;
        }
        *out++ = data[i++];
    }
    const QChar* begin = collapsed.constData();
    const QChar* end = out;
    while (begin < end && isTrimmable(*begin))
        ++begin;
    while (end > begin && isTrimmable(*(end - 1)))
        --end;
    if (begin == collapsed.constData()) {
        collapsed.truncate(end - begin);
        return collapsed;
    }
    return QString(begin, end - begin);
}
