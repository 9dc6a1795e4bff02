#pragma once

#include <QString>

// The description of the API in OpenAPI 3.0.3, served as GET /openapi.json. A fixed text built into the program
// (openapi.json): only the port of the server entry changes.
class OpenAPIDocument {
public:
    static QString text(quint16 port);
};
