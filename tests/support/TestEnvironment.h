#pragma once

#include <QString>

// Every test process's private home: HOME and the XDG folders point into a temporary folder removed at exit.
class TestEnvironment {
public:
    static void setUpPrivateHome();
    static QString home();
};
