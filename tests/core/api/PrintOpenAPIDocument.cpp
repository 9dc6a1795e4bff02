// Prints the OpenAPI document served on the given port, for validate_openapi.sh.
#include "core/api/OpenAPIDocument.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const QByteArray text = OpenAPIDocument::text(argc > 1 ? quint16(std::atoi(argv[1])) : 9876).toUtf8();
    return std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size()) ? 0 : 1;
}
