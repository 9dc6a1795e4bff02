// The OpenAPI document and the route table list the same methods and paths.
#include "core/api/OpenAPIDocument.h"
#include "core/api/APIRouter.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(OpenAPIDocument, DescribesExactlyTheRoutesServed)
{
    // "/history/{id}" is the prefix row "/history/": both are written "/history/*" here.
    std::set<std::string> documented;
    const auto document = nlohmann::json::parse(OpenAPIDocument::text(9876).toStdString());
    for (const auto& [path, item] : document.at("paths").items()) {
        const std::string route = path.ends_with('}') ? path.substr(0, path.rfind('{')) + '*' : path;
        for (const auto& [method, operation] : item.items())
            documented.insert(QString::fromStdString(method).toUpper().toStdString() + ' ' + route);
    }

    // The preflight is the transport's answer to browsers on every path, not an operation of the API: OpenAPI has
    // no way to write "any path", and an OPTIONS operation under each path would only clutter the documentation.
    const std::set<std::string> undescribed = {"OPTIONS *"};
    std::set<std::string> served;
    for (const APIRouter::Endpoint& endpoint : APIRouter::endpoints()) {
        const std::string route = (endpoint.method + u' ' + endpoint.path).toStdString() + (endpoint.prefix ? "*" : "");
        EXPECT_TRUE(served.insert(route).second) << route << " twice in the table";
    }
    for (const std::string& route : undescribed)
        EXPECT_EQ(served.erase(route), 1u) << route << " is no longer served";
    EXPECT_EQ(documented, served);
}
