#pragma once

#include <QString>

// The private home every test process runs in: HOME and the XDG base directories point into a temporary
// folder made at start-up and removed at exit.
class TestEnvironment {
public:
    static void setUpPrivateHome();
    static QString home();
};
