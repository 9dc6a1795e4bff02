#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <nlohmann/json.hpp>

#include <optional>

// One recorded capture (or a text added by hand or over the HTTP API).
//
// JSON form, one object per entry: "id" (upper-case hyphenated UUID), "text", "timestamp" (UTC, whole
// seconds, "Z"), then "displayName", "thumbnailData" (Base64 PNG) and "screenshotFilename", each omitted when
// absent. On reading, a null optional key means absent and unknown keys are ignored.
struct HistoryEntry {
    QUuid id;
    QString text;
    QDateTime timestamp;
    std::optional<QString> displayName;
    std::optional<QByteArray> thumbnailData;
    // A bare file name inside the screenshots folder.
    std::optional<QString> screenshotFilename;

    bool operator==(const HistoryEntry& other) const = default;

    nlohmann::ordered_json toJson() const;
    // Throws std::runtime_error with a readable description when the object is not a valid entry.
    static HistoryEntry fromJson(const nlohmann::json& object);

    // The whole history file: a compact JSON array in list order ("[]" when empty).
    static QByteArray encodeList(const QList<HistoryEntry>& entries);
    // Any malformed entry fails the whole list; throws std::runtime_error with a readable description.
    static QList<HistoryEntry> decodeList(const QByteArray& bytes);

    // "2025-03-14T09:26:53Z"
    static QString formatTimestamp(const QDateTime& timestamp);
    // ISO 8601 internet date-time with a zone designator ("Z" or "±hh:mm") and no fractional seconds;
    // an invalid QDateTime for anything else.
    static QDateTime parseTimestamp(const QString& text);
    // The 36-character hyphenated form, upper case.
    static QString formatId(const QUuid& id);
    // Exactly 36 characters, hyphenated, hexadecimal digits of either case; nullopt for anything else.
    static std::optional<QUuid> parseId(const QString& text);
};
