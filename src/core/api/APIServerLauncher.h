#pragma once

#include <QtGlobal>

class AppSettings;
class HTTPAPIServer;

// Starts and restarts the HTTP server as the settings say: whether it runs and on which port. Main thread.
class APIServerLauncher {
public:
    APIServerLauncher(AppSettings& settings, HTTPAPIServer& server);

    // At launch: says what the settings ask for, then starts the server when it is enabled.
    void startAtLaunch();
    // After the API settings changed: stops the server and starts it again when it is still enabled.
    void restart();

private:
    void start(qint64 port, bool announce);

    AppSettings& m_settings;
    HTTPAPIServer& m_server;
};
