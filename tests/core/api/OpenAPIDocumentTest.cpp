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

    std::set<std::string> served;
    for (const APIRouter::Endpoint& endpoint : APIRouter::endpoints()) {
        const std::string route = (endpoint.method + u' ' + endpoint.path).toStdString() + (endpoint.prefix ? "*" : "");
        EXPECT_TRUE(served.insert(route).second) << route << " twice in the table";
    }
    // The preflight answers browsers on every path, and OpenAPI has no way to write "any path".
    EXPECT_EQ(served.erase("OPTIONS *"), 1u);
    EXPECT_EQ(documented, served);
}
