#pragma once

#include <QByteArray>

class APIRouter;
class AppSettings;
class QHostAddress;
struct HTTPRequest;

// The answer to one parsed request, on the server thread: who may ask (the API token, or this machine only
// while there is none), then the route, then the bytes of the answer. The transport reads and parses; the
// routes know nothing of access.
class APIResponder {
public:
    APIResponder(const AppSettings& settings, APIRouter& router);

    QByteArray respond(const HTTPRequest& request, const QHostAddress& peer);

private:
    const AppSettings& m_settings;
    APIRouter& m_router;
};
