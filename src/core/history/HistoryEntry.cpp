#include "core/history/HistoryEntry.h"

#include "core/support/JsonNesting.h"

#include <stdexcept>

namespace {

using json = nlohmann::json;

std::string utf8(const QString& text)
{
    return text.toStdString();
}

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

[[noreturn]] void fail(const std::string& message)
{
    throw std::runtime_error(message);
}

const json& requiredString(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        fail(std::string("missing key \"") + key + "\"");
    if (!it->is_string())
        fail(std::string("\"") + key + "\" is not a string");
    return *it;
}

// A missing key and null both mean absent; any other type is an error, as for the required keys.
std::optional<QString> optionalString(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return std::nullopt;
    if (!it->is_string())
        fail(std::string("\"") + key + "\" is not a string");
    return fromUtf8(it->get<std::string>());
}

} // namespace

nlohmann::ordered_json HistoryEntry::toJson() const
{
    nlohmann::ordered_json object;
    object["id"] = utf8(formatId(id));
    object["text"] = utf8(text);
    object["timestamp"] = utf8(formatTimestamp(timestamp));
    if (displayName)
        object["displayName"] = utf8(*displayName);
    if (thumbnailData)
        object["thumbnailData"] = thumbnailData->toBase64().toStdString();
    if (screenshotFilename)
        object["screenshotFilename"] = utf8(*screenshotFilename);
    return object;
}

HistoryEntry HistoryEntry::fromJson(const nlohmann::json& object)
{
    if (!object.is_object())
        fail("not an object");
    HistoryEntry entry;

    const std::string idText = requiredString(object, "id").get<std::string>();
    const auto id = parseId(fromUtf8(idText));
    if (!id)
        fail("\"id\" is not a UUID: \"" + idText + "\"");
    entry.id = *id;

    entry.text = fromUtf8(requiredString(object, "text").get<std::string>());

    const std::string stampText = requiredString(object, "timestamp").get<std::string>();
    entry.timestamp = parseTimestamp(fromUtf8(stampText));
    if (!entry.timestamp.isValid())
        fail("\"timestamp\" is not an ISO 8601 date-time with whole seconds and a zone: \"" + stampText + "\"");

    entry.displayName = optionalString(object, "displayName");
    if (const auto base64 = optionalString(object, "thumbnailData")) {
        const auto decoded =
            QByteArray::fromBase64Encoding(base64->toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            fail("\"thumbnailData\" is not Base64");
        entry.thumbnailData = *decoded;
    }
    entry.screenshotFilename = optionalString(object, "screenshotFilename");
    return entry;
}

QByteArray HistoryEntry::encodeList(const QList<HistoryEntry>& entries)
{
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const HistoryEntry& entry : entries)
        array.push_back(entry.toJson());
    return QByteArray::fromStdString(array.dump());
}

QList<HistoryEntry> HistoryEntry::decodeList(const QByteArray& bytes)
{
    if (!JsonNesting::isWithinLimit(bytes))
        fail("nested more than " + std::to_string(JsonNesting::MaxDepth) + " levels deep");
    json document;
    try {
        document = json::parse(bytes.constBegin(), bytes.constEnd());
    } catch (const json::exception& error) {
        fail(std::string("not valid JSON: ") + error.what());
    }
    if (!document.is_array())
        fail("the top level is not an array");
    QList<HistoryEntry> entries;
    entries.reserve(static_cast<qsizetype>(document.size()));
    for (std::size_t i = 0; i < document.size(); ++i) {
        try {
            entries.append(fromJson(document[i]));
        } catch (const std::runtime_error& error) {
            fail("entry " + std::to_string(i) + ": " + error.what());
        }
    }
    return entries;
}

QString HistoryEntry::formatTimestamp(const QDateTime& timestamp)
{
    return timestamp.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

QDateTime HistoryEntry::parseTimestamp(const QString& text)
{
    // yyyy-MM-ddTHH:mm:ss followed by "Z" or "+hh:mm" / "-hh:mm"
    const auto digits = [&](qsizetype from, qsizetype count) -> int {
        int value = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const auto at = [&](qsizetype i, char16_t c) { return text.at(i).unicode() == c; };
    if (text.size() != 20 && text.size() != 25)
        return {};
    if (!at(4, u'-') || !at(7, u'-') || !at(10, u'T') || !at(13, u':') || !at(16, u':'))
        return {};
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    const int hour = digits(11, 2), minute = digits(14, 2), second = digits(17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return {};
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return {};

    int offsetSeconds = 0;
    if (text.size() == 20) {
        if (!at(19, u'Z'))
            return {};
    } else {
        const bool plus = at(19, u'+');
        if ((!plus && !at(19, u'-')) || !at(22, u':'))
            return {};
        const int offsetHours = digits(20, 2), offsetMinutes = digits(23, 2);
        if (offsetHours < 0 || offsetMinutes < 0 || offsetHours > 23 || offsetMinutes > 59)
            return {};
        offsetSeconds = (offsetHours * 60 + offsetMinutes) * 60 * (plus ? 1 : -1);
    }
    return QDateTime(date, QTime(hour, minute, second), Qt::OffsetFromUTC, offsetSeconds).toUTC();
}

QString HistoryEntry::formatId(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> HistoryEntry::parseId(const QString& text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (hyphenPlace ? c != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}
