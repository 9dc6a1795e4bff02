#include "core/api/APIRouter.h"

#include "core/api/APIDocsPage.h"
#include "core/api/HTTPAPIServerDelegate.h"
#include "core/api/ImageSizeLimit.h"
#include "core/api/InputAutomation.h"
#include "core/api/InputRequests.h"
#include "core/api/JsonValues.h"
#include "core/api/MainThreadBridge.h"
#include "core/api/OpenAPIDocument.h"
#include "core/history/HistoryManager.h"
#include "core/platform/DisplayCapture.h"
#include "core/settings/AppSettings.h"
#include "core/support/Log.h"

#include <QImage>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <array>

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

enum class SettingKind { Boolean, Count };

struct WritableSetting {
    const char* key;
    AppSettings::Setting setting;
    SettingKind kind;
};

// The settings a request may change. A count is a whole number from 0 up: a negative number of entries or days
// means nothing to the history.
constexpr std::array<WritableSetting, 7> writableSettings{{
    {"historyEnabled", AppSettings::Setting::HistoryEnabled, SettingKind::Boolean},
    {"historyMaxEntries", AppSettings::Setting::HistoryMaxEntries, SettingKind::Count},
    {"historyAutoDeleteDays", AppSettings::Setting::HistoryAutoDeleteDays, SettingKind::Count},
    {"removeLineBreaks", AppSettings::Setting::RemoveLineBreaks, SettingKind::Boolean},
    {"cleanupWhitespace", AppSettings::Setting::CleanupWhitespace, SettingKind::Boolean},
    {"fixHyphenation", AppSettings::Setting::FixHyphenation, SettingKind::Boolean},
    {"copyToPrimarySelection", AppSettings::Setting::CopyToPrimarySelection, SettingKind::Boolean},
}};

// The body's keys split into the assignments to make and the keys left alone (unknown, of the wrong type or out
// of range), which the answer lists.
std::pair<std::vector<AppSettings::Assignment>, json> settingsChange(const json& body)
{
    std::vector<AppSettings::Assignment> assignments;
    json ignored = json::array();
    for (const auto& item : body.items()) {
        const std::string& key = item.key();
        const auto known = std::find_if(writableSettings.begin(), writableSettings.end(),
                                        [&key](const WritableSetting& s) { return key == s.key; });
        std::optional<json> accepted;
        if (known != writableSettings.end() && known->kind == SettingKind::Boolean) {
            if (const auto flag = JsonValues::boolean(body, known->key))
                accepted = *flag;
        } else if (known != writableSettings.end()) {
            if (const auto count = JsonValues::integer(body, known->key); count && *count >= 0)
                accepted = *count;
        }
        if (accepted)
            assignments.emplace_back(known->setting, std::move(*accepted));
        else
            ignored.push_back(key);
    }
    return {std::move(assignments), std::move(ignored)};
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
                     QString applicationVersion, InputAutomation* input, DisplayCapture* display)
    : m_bridge(bridge)
    , m_settings(settings)
    , m_history(history)
    , m_version(std::move(applicationVersion))
    , m_input(input)
    , m_display(display)
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
        {get, QStringLiteral("/sidebar/screenshot"), false, &APIRouter::sidebarScreenshot},
        {get, QStringLiteral("/windows"), false, &APIRouter::windows},
        {get, QStringLiteral("/screenshot"), false, &APIRouter::appScreenshot},
        {get, QStringLiteral("/screen"), false, &APIRouter::screen},
        {get, QStringLiteral("/overlay/screenshot"), false, &APIRouter::overlayScreenshot},
        {getOrPost, QStringLiteral("/preferences"), false, &APIRouter::preferences},
        {getOrPost, QStringLiteral("/about"), false, &APIRouter::about},
        {getOrPost, QStringLiteral("/onboarding"), false, &APIRouter::onboarding},
        {post, QStringLiteral("/quit"), false, &APIRouter::quit},
        {get, QStringLiteral("/"), false, &APIRouter::status},
        {get, QStringLiteral("/status"), false, &APIRouter::status},
        {post, QStringLiteral("/mouse/move"), false, &APIRouter::mouseMove},
        {post, QStringLiteral("/mouse/click"), false, &APIRouter::mouseClick},
        {post, QStringLiteral("/mouse/drag"), false, &APIRouter::mouseDrag},
        {get, QStringLiteral("/mouse/position"), false, &APIRouter::mousePosition},
        {post, QStringLiteral("/keyboard/type"), false, &APIRouter::keyboardType},
        {post, QStringLiteral("/keyboard/key"), false, &APIRouter::keyboardKey},
        {post, QStringLiteral("/keyboard/hotkey"), false, &APIRouter::keyboardHotkey},
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

QByteArray APIRouter::allowedMethods()
{
    // The order of the HTTP standards; a method they do not name goes last.
    static const QStringList order = {QStringLiteral("GET"),    QStringLiteral("HEAD"),  QStringLiteral("POST"),
                                      QStringLiteral("PUT"),    QStringLiteral("PATCH"), QStringLiteral("DELETE"),
                                      QStringLiteral("OPTIONS")};
    QStringList methods;
    for (const Endpoint& endpoint : endpoints())
        if (endpoint.method != u"*" && !methods.contains(endpoint.method))
            methods.append(endpoint.method);
    std::stable_sort(methods.begin(), methods.end(), [](const QString& a, const QString& b) {
        const auto rank = [](const QString& method) {
            const qsizetype index = order.indexOf(method);
            return index < 0 ? order.size() : index;
        };
        return rank(a) < rank(b);
    });
    return methods.join(QStringLiteral(", ")).toLatin1();
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
    auto [assignments, ignored] = settingsChange(*request.body);
    if (!assignments.empty())
        m_bridge.postStoreChange(
            [&settings = m_settings, assignments = std::move(assignments)] { settings.assign(assignments); });
    json answer = success("Settings updated");
    answer["ignored"] = std::move(ignored);
    return HTTPResponse::json(200, answer);
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

HTTPResponse APIRouter::delegateScreenshot(const Request& request,
                                           std::optional<QByteArray> (HTTPAPIServerDelegate::*make)(),
                                           const char* missing)
{
    // The work always answers, so that a missing delegate is reported at once rather than after the time-out.
    const std::optional<QByteArray> png = m_bridge.waitFor<std::optional<QByteArray>>(
        std::nullopt, MainThreadBridge::ScreenshotTimeout,
        [make](HTTPAPIServerDelegate* delegate) -> std::optional<std::optional<QByteArray>> {
            return delegate ? (delegate->*make)() : std::nullopt;
        });
    if (!png)
        return HTTPResponse::error({404, QString::fromLatin1(missing)});
    const auto found = request.query.find(QStringLiteral("maxSize"));
    const std::optional<qint64> maxSize =
        ImageSizeLimit::parse(found == request.query.end() ? std::nullopt : std::optional<QString>(found->second));
    return HTTPResponse::png(maxSize ? ImageSizeLimit::fitPNG(*png, *maxSize) : *png);
}

HTTPResponse APIRouter::sidebarScreenshot(const Request& request)
{
    return delegateScreenshot(request, &HTTPAPIServerDelegate::sidebarScreenshotPNG,
                              "Sidebar not visible or capture failed");
}

HTTPResponse APIRouter::windows(const Request&)
{
    const json list = m_bridge.waitFor<json>(json::array(), MainThreadBridge::StateTimeout,
                                             [](HTTPAPIServerDelegate* delegate) -> std::optional<json> {
                                                 return delegate ? delegate->appWindowList() : json::array();
                                             });
    return HTTPResponse::json(200, {{"windows", list}, {"count", list.size()}});
}

HTTPResponse APIRouter::appScreenshot(const Request& request)
{
    return delegateScreenshot(request, &HTTPAPIServerDelegate::appWindowsScreenshotPNG,
                              "No visible app windows to capture");
}

HTTPResponse APIRouter::overlayScreenshot(const Request& request)
{
    return delegateScreenshot(request, &HTTPAPIServerDelegate::overlayScreenshotPNG,
                              "No overlay visible or capture failed");
}

// On the server thread: the capture path has X connections of its own, and nothing here touches a window.
HTTPResponse APIRouter::screen(const Request& request)
{
    QImage image = m_display ? m_display->capturePrimaryDisplay() : QImage();
    if (image.isNull())
        return HTTPResponse::error({500, QStringLiteral("Screen capture failed - check Screen Recording permission")});
    const auto found = request.query.find(QStringLiteral("maxSize"));
    if (const std::optional<qint64> maxSize =
            ImageSizeLimit::parse(found == request.query.end() ? std::nullopt : std::optional<QString>(found->second)))
        image = ImageSizeLimit::fit(image, *maxSize);
    const std::optional<QByteArray> png = ImageSizeLimit::encodePNG(image);
    if (!png)
        return HTTPResponse::error({500, QStringLiteral("Failed to encode image")});
    return HTTPResponse::png(*png);
}

HTTPResponse APIRouter::preferences(const Request& request)
{
    std::optional<QString> tab;
    if (request.method == QLatin1String("POST") && request.body)
        tab = JsonValues::string(*request.body, "tab");
    m_bridge.post([tab](HTTPAPIServerDelegate* delegate) {
        if (delegate)
            delegate->openPreferences(tab);
    });
    json answer = success("Preferences opened");
    if (tab)
        answer["tab"] = tab->toStdString();
    return HTTPResponse::json(200, answer);
}

HTTPResponse APIRouter::about(const Request&)
{
    m_bridge.post([](HTTPAPIServerDelegate* delegate) {
        if (delegate)
            delegate->openAboutWindow();
    });
    return HTTPResponse::json(200, success("About window opened"));
}

HTTPResponse APIRouter::onboarding(const Request&)
{
    m_bridge.post([](HTTPAPIServerDelegate* delegate) {
        if (delegate)
            delegate->openOnboardingWindow();
    });
    return HTTPResponse::json(200, success("Onboarding window opened"));
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

template <typename Parse>
HTTPResponse APIRouter::synthesize(const Request& request, Parse parse)
{
    if (!m_input || !m_input->isAvailable()) {
        const QString reason = m_input ? m_input->unavailableReason() : QString();
        if (!reason.isEmpty()) {
            qCWarning(lcApi).noquote() << QStringLiteral("⚠️ Synthetic input refused: %1").arg(reason);
            return HTTPResponse::json(
                403, {{"error", "Accessibility permission required"},
                      {"message", "This desktop does not accept synthetic input. " + reason.toStdString()}});
        }
        qCWarning(lcApi).noquote() << QStringLiteral(
            "⚠️ Synthetic input refused: the X server offers no XTEST extension");
        return HTTPResponse::json(
            403, {{"error", "Accessibility permission required"},
                  {"message", "This desktop does not accept synthetic input: the X server offers no XTEST extension. "
                              "Wayland sessions do not accept synthetic input from other programs at all."}});
    }
    InputRequests::Result result = parse(request.body);
    if (const HTTPError* refused = std::get_if<HTTPError>(&result))
        return HTTPResponse::error(*refused);
    InputRequests::Plan& plan = std::get<InputRequests::Plan>(result);
    if (!plan.script.empty() && !m_input->enqueue(std::move(plan.script)))
        return HTTPResponse::error(
            {429, QStringLiteral("Too much input queued: wait until the earlier requests' input has been sent")});
    return HTTPResponse::json(200, plan.answer);
}

HTTPResponse APIRouter::mousePosition(const Request&)
{
    InputAutomation* input = m_input;
    const json position = m_bridge.waitFor<json>(
        json::object(), MainThreadBridge::StateTimeout, [input](HTTPAPIServerDelegate*) -> std::optional<json> {
            const std::optional<QPointF> at = input ? input->pointerPosition() : std::nullopt;
            if (!at)
                return json::object();
            return json{{"x", at->x()}, {"y", at->y()}};
        });
    return HTTPResponse::json(200, {{"position", position}});
}

HTTPResponse APIRouter::mouseMove(const Request& request)
{
    return synthesize(request, &InputRequests::move);
}

HTTPResponse APIRouter::mouseClick(const Request& request)
{
    return synthesize(request, &InputRequests::click);
}

HTTPResponse APIRouter::mouseDrag(const Request& request)
{
    return synthesize(request, &InputRequests::drag);
}

HTTPResponse APIRouter::keyboardType(const Request& request)
{
    return synthesize(request, &InputRequests::type);
}

HTTPResponse APIRouter::keyboardKey(const Request& request)
{
    return synthesize(request, &InputRequests::key);
}

HTTPResponse APIRouter::keyboardHotkey(const Request& request)
{
    return synthesize(request, &InputRequests::hotkey);
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
