#include "core/api/APIDocsPage.h"

#include <QFile>

namespace {

const char page[] = R"HTML(<!DOCTYPE html>
<html lang="en">
<head>
  <meta charset="UTF-8">
  <title>Quillora API Documentation</title>
  <link rel="stylesheet" href="%1swagger-ui.css">
  <style>
    body { margin: 0; padding: 0; }
    .swagger-ui .topbar { display: none; }
    .swagger-ui .info { margin: 20px 0; }
  </style>
</head>
<body>
  <div id="swagger-ui"></div>
  <script src="%1swagger-ui-bundle.js"></script>
  <script>
    window.onload = function() {
      window.ui = SwaggerUIBundle({
        url: '/openapi.json',
        dom_id: '#swagger-ui',
        presets: [
          SwaggerUIBundle.presets.apis
        ],
        layout: "BaseLayout",
        deepLinking: true,
        tryItOutEnabled: true
      });
    };
  </script>
</body>
</html>
)HTML";

struct ServedFile {
    const char* name;
    const char* contentType;
};

// What the page loads, and the license texts that go with it (the bundle names its file in a comment).
constexpr ServedFile servedFiles[] = {
    {"swagger-ui.css", "text/css; charset=utf-8"},
    {"swagger-ui-bundle.js", "text/javascript; charset=utf-8"},
    {"LICENSE", "text/plain; charset=utf-8"},
    {"NOTICE", "text/plain; charset=utf-8"},
    {"swagger-ui-bundle.js.LICENSE.txt", "text/plain; charset=utf-8"},
};

} // namespace

QString APIDocsPage::text()
{
#ifdef QUILLORA_SWAGGER_UI_VERSION
    const QString base = QStringLiteral("/docs/");
#else
    const QString base = QStringLiteral("https://unpkg.com/swagger-ui-dist@5/");
#endif
    return QString::fromLatin1(page).arg(base);
}

std::optional<APIDocsPage::File> APIDocsPage::file(const QString& name)
{
    for (const ServedFile& served : servedFiles) {
        if (name != QLatin1String(served.name))
            continue;
        QFile resource(QStringLiteral(":/swagger-ui/") + name);
        if (!resource.open(QIODevice::ReadOnly))
            return std::nullopt;
        return File{resource.readAll(), QByteArray(served.contentType)};
    }
    return std::nullopt;
}
