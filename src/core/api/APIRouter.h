#pragma once

#include "core/api/HTTPResponse.h"

#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <atomic>
#include <map>
#include <optional>
#include <vector>

class AppSettings;
class DisplayCapture;
class HTTPAPIServerDelegate;
class HistoryManager;
class InputAutomation;
class MainThreadBridge;

// The route table: tried from the top, the first row whose method and path match answers. Handlers run on the
// server thread; they read the stores there, and hand what changes the application or its stores to the main
// thread through the bridge.
class APIRouter {
public:
    struct Query {
        QString routePath;
        std::map<QString, QString> parameters;
    };
    // A method ("*": any) and path the table answers. A prefix row answers every path that starts with its path
    // (an empty one: every path).
    struct Endpoint {
        QString method;
        QString path;
        bool prefix = false;
    };

    // The input routes go through input, GET /screen captures through display; without one they refuse.
    APIRouter(MainThreadBridge& bridge, AppSettings& settings, HistoryManager& history, QString applicationVersion,
              InputAutomation* input = nullptr, DisplayCapture* display = nullptr);

    // Server thread.
    HTTPResponse route(const QString& method, const QString& path, const std::optional<nlohmann::json>& body);

    // The port the status and the OpenAPI document name: the one the server was last started on. Any thread.
    void setPort(quint16 port) { m_port = port; }
    quint16 port() const { return m_port; }

    // "/a?x=1&y=%20" into "/a" and {x: "1", y: " "}. Pieces without exactly one "=" are dropped, "+" stays a
    // plus, a text that does not percent-decode is kept raw, and a later name replaces an earlier one.
    static Query parseQuery(const QString& path);
    // Every row of the table, one entry per method, in the order they are tried.
    static std::vector<Endpoint> endpoints();
    // The methods the table answers, each once, in the order HTTP lists them: "GET, POST, PUT, ...".
    static QByteArray allowedMethods();

private:
    struct Request {
        const QString& method;
        const QString& routePath;
        const std::map<QString, QString>& query;
        const std::optional<nlohmann::json>& body;
    };
    using Handler = HTTPResponse (APIRouter::*)(const Request&);
    struct Route {
        QStringList methods; // empty: any method
        QString path;        // exact path, or the prefix when prefix is set
        bool prefix = false;
        Handler handler;
    };

    HTTPResponse capture(const Request&);
    HTTPResponse listHistory(const Request&);
    HTTPResponse addHistoryEntry(const Request&);
    HTTPResponse deleteHistoryEntry(const Request&);
    HTTPResponse clearHistory(const Request&);
    HTTPResponse readSettings(const Request&);
    HTTPResponse updateSettings(const Request&);
    HTTPResponse sidebarState(const Request&);
    HTTPResponse showSidebar(const Request&);
    HTTPResponse hideSidebar(const Request&);
    HTTPResponse toggleSidebar(const Request&);
    HTTPResponse sidebarScreenshot(const Request&);
    HTTPResponse windows(const Request&);
    HTTPResponse appScreenshot(const Request&);
    HTTPResponse screen(const Request&);
    HTTPResponse overlayScreenshot(const Request&);
    HTTPResponse preferences(const Request&);
    HTTPResponse about(const Request&);
    HTTPResponse onboarding(const Request&);
    HTTPResponse quit(const Request&);
    HTTPResponse status(const Request&);
    HTTPResponse mousePosition(const Request&);
    HTTPResponse mouseMove(const Request&);
    HTTPResponse mouseClick(const Request&);
    HTTPResponse mouseDrag(const Request&);
    HTTPResponse keyboardType(const Request&);
    HTTPResponse keyboardKey(const Request&);
    HTTPResponse keyboardHotkey(const Request&);
    HTTPResponse preflight(const Request&);
    HTTPResponse docsPage(const Request&);
    HTTPResponse docsFile(const Request&);
    HTTPResponse openAPIDocument(const Request&);

    bool sidebarVisible();
    // A screenshot the delegate makes on the main thread, fitted to the request's "maxSize", or a 404 with message.
    HTTPResponse delegateScreenshot(const Request& request, std::optional<QByteArray> (HTTPAPIServerDelegate::*make)(),
                                    const char* missing);
    // The input routes: the desktop's consent first, then the body; the steps are queued, the answer given at once.
    template <typename Parse>
    HTTPResponse synthesize(const Request& request, Parse parse);

    static const std::vector<Route>& table();

    MainThreadBridge& m_bridge;
    AppSettings& m_settings;
    HistoryManager& m_history;
    const QString m_version;
    InputAutomation* const m_input;
    DisplayCapture* const m_display;
    std::atomic<quint16> m_port{0};
};
