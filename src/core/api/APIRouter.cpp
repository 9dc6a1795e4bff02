#include "core/api/APIRouter.h"

#include "core/api/APIDocsPage.h"
#include "core/api/HTTPAPIServerDelegate.h"
#include "core/api/MainThreadBridge.h"
#include "core/api/OpenAPIDocument.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"

#include <QImage>
#include <QStringDecoder>
#include <QUrl>

#include <cmath>
#include <limits>

namespace {

using json = nlohmann::json;

json success(const char* message)
{
    return {{"success", true}, {"message", message}};
}

json entryJson(const HistoryEntry& entry)
{
    return {{"id", HistoryEntry::formatId(entry.id).toStdString()},
            {"text", entry.text.toStdString()},
            {"displayName", entry.displayName.value_or(QString()).toStdString()},
            {"timestamp", HistoryEntry::formatTimestamp(entry.timestamp).toStdString()}};
}

std::optional<bool> boolValue(const json& body, const char* key)
{
    const auto it = body.find(key);
    if (it == body.end() || !it->is_boolean())
        return std::nullopt;
    return it->get<bool>();
}

// A JSON number with a whole value: 10 and 10.0 count, 10.5, "10" and true do not.
std::optional<qint64> integerValue(const json& body, const char* key)
{
    const auto it = body.find(key);
    if (it == body.end())
        return std::nullopt;
    if (it->is_number_integer())
        return it->get<qint64>();
    if (it->is_number_unsigned()) {
        const auto value = it->get<quint64>();
        if (value > static_cast<quint64>(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return static_cast<qint64>(value);
    }
    if (it->is_number_float()) {
        const double value = it->get<double>();
        // 2^63 itself is out of range; the largest double below it is in.
        if (std::trunc(value) != value || value < -9.2233720368547758e18 || value >= 9.2233720368547758e18)
            return std::nullopt;
        return static_cast<qint64>(value);
    }
    return std::nullopt;
}

// On the main thread, key by key in a fixed order; a key of the wrong type is skipped.
void applySettings(AppSettings& settings, const json& body)
{
    if (const auto value = boolValue(body, "historyEnabled"))
        settings.setHistoryEnabled(*value);
    if (const auto value = integerValue(body, "historyMaxEntries"))
        settings.setHistoryMaxEntries(*value);
    if (const auto value = integerValue(body, "historyAutoDeleteDays"))
        settings.setHistoryAutoDeleteDays(*value);
    if (const auto value = boolValue(body, "removeLineBreaks"))
        settings.setRemoveLineBreaks(*value);
    if (const auto value = boolValue(body, "cleanupWhitespace"))
        settings.setCleanupWhitespace(*value);
    if (const auto value = boolValue(body, "fixHyphenation"))
        settings.setFixHyphenation(*value);
    if (const auto value = boolValue(body, "copyToPrimarySelection"))
        settings.setCopyToPrimarySelection(*value);
}

QString percentDecoded(const QString& text)
{
    // Decoding must give valid UTF-8; otherwise the raw text is kept.
    const QByteArray decoded = QByteArray::fromPercentEncoding(text.toUtf8());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString result = decoder.decode(decoded);
    return decoder.hasError() ? text : result;
}

} // namespace

APIRouter::APIRouter(MainThreadBridge& bridge, AppSettings& settings, HistoryManager& history,
                     QString applicationVersion)
    : m_bridge(bridge)
    , m_settings(settings)
    , m_history(history)
    , m_version(std::move(applicationVersion))
{}

const std::vector<APIRouter::Route>& APIRouter::table()
{
    static const auto get = QStringList{QStringLiteral("GET")};
    static const auto post = QStringList{QStringLiteral("POST")};
    static const auto getOrPost = QStringList{QStringLiteral("GET"), QStringLiteral("POST")};
    static const auto del = QStringList{QStringLiteral("DELETE")};
    static const std::vector<Route> routes = {
        {getOrPost, QStringLiteral("/capture"), false, &APIRouter::capture},
        {get, QStringLiteral("/history"), false, &APIRouter::listHistory},
        {post, QStringLiteral("/history"), false, &APIRouter::addHistoryEntry},
        {del, QStringLiteral("/history/"), true, &APIRouter::deleteHistoryEntry},
        {del, QStringLiteral("/history"), false, &APIRouter::clearHistory},
        {get, QStringLiteral("/settings"), false, &APIRouter::readSettings},
        {{QStringLiteral("PUT"), QStringLiteral("PATCH")},
         QStringLiteral("/settings"),
         false,
         &APIRouter::updateSettings},
        {get, QStringLiteral("/sidebar"), false, &APIRouter::sidebarState},
        {post, QStringLiteral("/sidebar/show"), false, &APIRouter::showSidebar},
        {post, QStringLiteral("/sidebar/hide"), false, &APIRouter::hideSidebar},
        {post, QStringLiteral("/sidebar/toggle"), false, &APIRouter::toggleSidebar},
        // The window, screenshot and window-opening routes come here, before /quit.
        {post, QStringLiteral("/quit"), false, &APIRouter::quit},
        {get, QStringLiteral("/"), false, &APIRouter::status},
        {get, QStringLiteral("/status"), false, &APIRouter::status},
        // The mouse and keyboard routes come here, before the preflight.
        {{QStringLiteral("OPTIONS")}, QString(), true, &APIRouter::preflight},
        {get, QStringLiteral("/docs"), false, &APIRouter::docsPage},
        {get, QStringLiteral("/docs/"), true, &APIRouter::docsFile},
        {get, QStringLiteral("/openapi.json"), false, &APIRouter::openAPIDocument},
    };
    return routes;
}

std::vector<APIRouter::Endpoint> APIRouter::endpoints()
{
    std::vector<Endpoint> list;
    for (const Route& row : table())
        for (const QString& method : row.methods.isEmpty() ? QStringList{QStringLiteral("*")} : row.methods)
            list.push_back({method, row.path, row.prefix});
    return list;
}

APIRouter::Query APIRouter::parseQuery(const QString& path)
{
    const QStringList parts = path.split(u'?');
    Query query{parts.first(), {}};
    if (parts.size() < 2)
        return query;
    for (const QString& piece : parts.at(1).split(u'&')) {
        const QStringList pair = piece.split(u'=');
        if (pair.size() != 2)
            continue;
        query.parameters[percentDecoded(pair.at(0))] = percentDecoded(pair.at(1));
    }
    return query;
}

HTTPResponse APIRouter::route(const QString& method, const QString& path, const std::optional<nlohmann::json>& body)
{
    const Query query = parseQuery(path);
    const Request request{method, query.routePath, query.parameters, body};
    for (const Route& row : table()) {
        if (!row.methods.isEmpty() && !row.methods.contains(method))
            continue;
        if (row.prefix ? !query.routePath.startsWith(row.path) : query.routePath != row.path)
            continue;
        return (this->*row.handler)(request);
    }
    return HTTPResponse::json(404, {{"error", "Not found"}, {"path", query.routePath.toStdString()}});
}

bool APIRouter::sidebarVisible()
{
    return m_bridge.waitFor(false, MainThreadBridge::StateTimeout,
                            [](HTTPAPIServerDelegate* delegate) -> std::optional<bool> {
                                return delegate && delegate->isSidebarVisible();
                            });
}

HTTPResponse APIRouter::capture(const Request&)
{
    m_bridge.post([](HTTPAPIServerDelegate* delegate) {
        if (delegate)
            delegate->requestCapture();
    });
    return HTTPResponse::json(200, success("Capture initiated"));
}

HTTPResponse APIRouter::listHistory(const Request&)
{
    m_bridge.waitForStoreChanges();
    const QList<HistoryEntry> entries = m_history.entriesSnapshot();
    json list = json::array();
    for (const HistoryEntry& entry : entries)
        list.push_back(entryJson(entry));
    return HTTPResponse::json(200, {{"entries", std::move(list)}, {"count", entries.size()}});
}

HTTPResponse APIRouter::addHistoryEntry(const Request& request)
{
    const HTTPError missingText{400, QStringLiteral("Missing 'text' field")};
    if (!request.body)
        return HTTPResponse::error(missingText);
    const auto text = request.body->find("text");
    if (text == request.body->end() || !text->is_string() || text->get<std::string>().empty())
        return HTTPResponse::error(missingText);
    const auto name = request.body->find("displayName");
    const QString displayName = name != request.body->end() && name->is_string()
                                    ? QString::fromStdString(name->get<std::string>())
                                    : QStringLiteral("API Entry");
    m_bridge.postStoreChange([&history = m_history, entryText = QString::fromStdString(text->get<std::string>()),
                              displayName] { history.addEntry(entryText, displayName, QImage(), QImage()); });
    return HTTPResponse::json(201, success("Entry added"));
}

HTTPResponse APIRouter::deleteHistoryEntry(const Request& request)
{
    const std::optional<QUuid> id = HistoryEntry::parseId(request.routePath.mid(QStringLiteral("/history/").size()));
    if (!id)
        return HTTPResponse::error({400, QStringLiteral("Invalid ID format")});
    m_bridge.waitForStoreChanges();
    if (!m_history.entry(*id))
        return HTTPResponse::error({404, QStringLiteral("Entry not found")});
    m_bridge.postStoreChange([&history = m_history, id = *id] { history.deleteEntry(id); });
    return HTTPResponse::json(200, success("Entry deleted"));
}

HTTPResponse APIRouter::clearHistory(const Request&)
{
    m_bridge.postStoreChange([&history = m_history] { history.clearHistory(); });
    return HTTPResponse::json(200, success("History cleared"));
}

HTTPResponse APIRouter::readSettings(const Request&)
{
    m_bridge.waitForStoreChanges();
    const AppSettings& settings = m_settings;
    return HTTPResponse::json(200, {{"historyEnabled", settings.historyEnabled()},
                                    {"historyMaxEntries", settings.historyMaxEntries()},
                                    {"historyAutoDeleteDays", settings.historyAutoDeleteDays()},
                                    {"removeLineBreaks", settings.removeLineBreaks()},
                                    {"cleanupWhitespace", settings.cleanupWhitespace()},
                                    {"fixHyphenation", settings.fixHyphenation()},
                                    {"copyToPrimarySelection", settings.copyToPrimarySelection()},
                                    {"apiEnabled", settings.apiEnabled()},
                                    {"apiPort", settings.apiPort()}});
}

HTTPResponse APIRouter::updateSettings(const Request& request)
{
    if (!request.body)
        return HTTPResponse::error({400, QStringLiteral("Missing request body")});
    m_bridge.postStoreChange([&settings = m_settings, body = *request.body] { applySettings(settings, body); });
    return HTTPResponse::json(200, success("Settings updated"));
}

HTTPResponse APIRouter::sidebarState(const Request&)
{
    return HTTPResponse::json(200, {{"visible", sidebarVisible()}});
}

HTTPResponse APIRouter::showSidebar(const Request&)
{
    m_bridge.post([](HTTPAPIServerDelegate* delegate) {
        if (delegate)
            delegate->showHistorySidebar();
    });
    return HTTPResponse::json(200, success("Sidebar shown"));
}

HTTPResponse APIRouter::hideSidebar(const Request&)
{
    m_bridge.post([](HTTPAPIServerDelegate* delegate) {
        if (delegate)
            delegate->hideHistorySidebar();
    });
    return HTTPResponse::json(200, success("Sidebar hidden"));
}

HTTPResponse APIRouter::toggleSidebar(const Request&)
{
    // The answer is the state asked for, not one read back from the sidebar.
    const bool visible = m_bridge.waitFor(false, MainThreadBridge::StateTimeout,
                                          [](HTTPAPIServerDelegate* delegate) -> std::optional<bool> {
                                              if (delegate && delegate->isSidebarVisible()) {
                                                  delegate->hideHistorySidebar();
                                                  return false;
                                              }
                                              if (delegate)
                                                  delegate->showHistorySidebar();
                                              return true;
                                          });
    return HTTPResponse::json(200, {{"success", true}, {"visible", visible}});
}

HTTPResponse APIRouter::quit(const Request&)
{
    // Half a second lets the answer leave before the application ends.
    m_bridge.post(
        [](HTTPAPIServerDelegate* delegate) {
            if (delegate)
                delegate->quitApplication();
        },
        std::chrono::milliseconds(500));
    return HTTPResponse::json(200, success("App quitting"));
}

HTTPResponse APIRouter::status(const Request&)
{
    const bool visible = sidebarVisible();
    m_bridge.waitForStoreChanges();
    return HTTPResponse::json(200, {{"app", "Quillora"},
                                    {"version", m_version.toStdString()},
                                    {"status", "running"},
                                    {"historyCount", m_history.count()},
                                    {"sidebarVisible", visible},
                                    {"apiPort", port()}});
}

HTTPResponse APIRouter::preflight(const Request&)
{
    return HTTPResponse::preflight();
}

HTTPResponse APIRouter::docsPage(const Request&)
{
    return HTTPResponse::html(APIDocsPage::text());
}

HTTPResponse APIRouter::docsFile(const Request& request)
{
    const std::optional<APIDocsPage::File> file =
        APIDocsPage::file(request.routePath.mid(QStringLiteral("/docs/").size()));
    if (!file)
        return HTTPResponse::json(404, {{"error", "Not found"}, {"path", request.routePath.toStdString()}});
    return HTTPResponse::file(file->bytes, file->contentType);
}

HTTPResponse APIRouter::openAPIDocument(const Request&)
{
    return HTTPResponse::jsonText(OpenAPIDocument::text(port()));
}
