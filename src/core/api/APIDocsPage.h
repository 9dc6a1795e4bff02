#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The page served as GET /docs: the Swagger UI viewer showing /openapi.json. Swagger UI's files are served by the
// program itself under /docs/, so that the page also works without internet; only a program built without them
// loads them from a public CDN.
class APIDocsPage {
public:
    struct File {
        QByteArray bytes;
        QByteArray contentType;
    };

    static QString text();
    // GET /docs/<name>: a file of Swagger UI the page loads, or its license texts; nothing for any other name.
    static std::optional<File> file(const QString& name);
};
