#include "core/api/HTTPRequest.h"

QString HTTPRequest::header(const QString& lowerCaseName) const
{
    const auto it = headers.find(lowerCaseName);
    return it == headers.end() ? QString() : it->second;
}
