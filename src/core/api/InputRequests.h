#pragma once

#include "core/api/HTTPError.h"
#include "core/api/InputAutomation.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <variant>

// The bodies of the HTTP API's mouse and keyboard routes, checked and turned into the steps that carry them out,
// with the answer each route gives. Pure: the routes queue the steps.
class InputRequests {
public:
    // What one request may ask for: no more events or typed characters than this, and input that takes no longer
    // than the whole queue may hold; a drag or glide lasts at most MaxDuration, and typing waits at most MaxDelayMs
    // between two characters.
    static constexpr qsizetype MaxEvents = 10'000;
    static constexpr std::chrono::milliseconds MaxTime = InputAutomation::MaxQueuedTime;
    static constexpr std::chrono::milliseconds MaxDuration{60'000};
    static constexpr qint64 MaxDelayMs = 10'000;
    // The X server's coordinates are 16-bit; positions further out than this are refused.
    static constexpr qreal MaxCoordinate = 32767;

    struct Plan {
        InputAutomation::Script script;
        nlohmann::json answer;
    };
    using Result = std::variant<Plan, HTTPError>;
    using Body = std::optional<nlohmann::json>;

    static Result move(const Body& body);
    static Result click(const Body& body);
    static Result drag(const Body& body);
    static Result type(const Body& body);
    // A key name outside the table is answered as pressed, with nothing to do, and written to standard output.
    static Result key(const Body& body);
    static Result hotkey(const Body& body);
};
