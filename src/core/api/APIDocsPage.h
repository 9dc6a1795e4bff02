#pragma once

#include <QString>

// The page served as GET /docs: the Swagger UI viewer, loaded from a public CDN, showing /openapi.json.
class APIDocsPage {
public:
    static QString text();
};
