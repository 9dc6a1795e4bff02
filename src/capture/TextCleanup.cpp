#include "capture/TextCleanup.h"

#include "settings/AppSettings.h"

QString TextCleanup::clean(const QString& text, const AppSettings& settings) {
    return clean(text, Options{settings.fixHyphenation(), settings.removeLineBreaks(), settings.cleanupWhitespace()});
}

QString TextCleanup::clean(const QString& text, const Options& options) {
    QString result = text;
    if (options.fixHyphenation)
        result = fixHyphenation(result);
    if (options.removeLineBreaks)
        result = removeLineBreaks(result);
    if (options.cleanupWhitespace)
        result = cleanupWhitespace(result);
    return result;
}

bool TextCleanup::isWhitespace(QChar c) {
    switch (c.unicode()) {
    case 0x0009:
    case 0x000A:
    case 0x000C:
    case 0x000D:
        return true;
    default:
        break;
    }
    // Every category Z character lies in the Basic Multilingual Plane, so looking at single UTF-16 units is exact.
    const QChar::Category category = c.category();
    return category == QChar::Separator_Space || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

bool TextCleanup::isTrimmable(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= 0x0009 && u <= 0x000D) || u == 0x0085)
        return true;
    const QChar::Category category = c.category();
    return category == QChar::Separator_Space || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

// Same result as replacing every match of -\s+ with nothing, matching left to right without overlap: after a
// match the scan resumes right behind the whitespace run, so "- - x" loses both hyphens.
QString TextCleanup::fixHyphenation(const QString& text) {
    const qsizetype size = text.size();
    QString result;
    result.reserve(size);
    const QChar* data = text.constData();
    qsizetype i = 0;
    while (i < size) {
        if (data[i] == u'-' && i + 1 < size && isWhitespace(data[i + 1])) {
            i += 2;
            while (i < size && isWhitespace(data[i]))
                ++i;
            continue;
        }
        result.append(data[i]);
        ++i;
    }
    return result;
}

QString TextCleanup::removeLineBreaks(const QString& text) {
    QString result = text;
    result.replace(u'\n', u' ');
    return result;
}

QString TextCleanup::cleanupWhitespace(const QString& text) {
    const qsizetype size = text.size();
    QString collapsed;
    collapsed.reserve(size);
    const QChar* data = text.constData();
    qsizetype i = 0;
    while (i < size) {
        if (isWhitespace(data[i])) {
            collapsed.append(u' ');
            while (i < size && isWhitespace(data[i]))
                ++i;
            continue;
        }
        collapsed.append(data[i]);
        ++i;
    }

    qsizetype begin = 0;
    qsizetype end = collapsed.size();
    while (begin < end && isTrimmable(collapsed.at(begin)))
        ++begin;
    while (end > begin && isTrimmable(collapsed.at(end - 1)))
        --end;
    return collapsed.sliced(begin, end - begin);
}
