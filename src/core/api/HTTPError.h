#pragma once

#include <QString>

// A request that is answered with {"error": message} under this status.
struct HTTPError {
    int status = 400;
    QString message;
};
