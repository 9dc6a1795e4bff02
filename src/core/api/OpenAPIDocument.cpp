#include "core/api/OpenAPIDocument.h"

#include <QFile>
#include <QtGlobal>

// The platform this build runs on, as the description names it.
#if defined(Q_OS_LINUX)
#define QUILLORA_PLATFORM_NAME "Linux"
#elif defined(Q_OS_FREEBSD)
#define QUILLORA_PLATFORM_NAME "FreeBSD"
#else
#define QUILLORA_PLATFORM_NAME "Unix"
#endif

namespace {

// The document as built into the program (openapi.json), with the platform's name filled in; the port is left to
// fill in per request.
const QString& documentText()
{
    static const QString text = [] {
        QFile file(QStringLiteral(":/api/openapi.json"));
        const bool opened = file.open(QIODevice::ReadOnly);
        Q_ASSERT(opened);
        Q_UNUSED(opened);
        return QString::fromUtf8(file.readAll())
            .replace(QLatin1String("@PLATFORM@"), QLatin1String(QUILLORA_PLATFORM_NAME));
    }();
    return text;
}

} // namespace

QString OpenAPIDocument::text(quint16 port)
{
    return QString(documentText()).replace(QLatin1String("@PORT@"), QString::number(port));
}
