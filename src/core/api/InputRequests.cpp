#include "core/api/InputRequests.h"

#include "core/api/JsonValues.h"
#include "core/api/KeyNames.h"
#include "core/support/Log.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

using json = nlohmann::json;
using Step = InputAutomation::Step;
using Action = InputAutomation::Step::Action;
using std::chrono::milliseconds;

// The pauses between the steps of a click, a drag and a key press.
constexpr milliseconds MoveSettle{50};
constexpr milliseconds ButtonHold{10};
constexpr milliseconds BetweenClicks{50};
constexpr milliseconds KeyPause{10};
// Key names are written to the log; one longer than any real name is cut there.
constexpr qsizetype MaxLoggedKeyName = 64;

const json emptyObject = json::object();

HTTPError bad(const QString& message)
{
    return {400, message};
}

Step step(Action action, milliseconds pause = milliseconds(0))
{
    Step made;
    made.action = action;
    made.pause = pause;
    return made;
}

Step moveTo(std::optional<qreal> x, std::optional<qreal> y, milliseconds pause = milliseconds(0))
{
    Step made = step(Action::Move, pause);
    made.x = x;
    made.y = y;
    return made;
}

bool withinScreenRange(std::initializer_list<std::optional<double>> coordinates)
{
    for (const std::optional<double>& value : coordinates)
        if (value && std::abs(*value) > InputRequests::MaxCoordinate)
            return false;
    return true;
}

const HTTPError outOfRange = bad(QStringLiteral("Coordinates must be between -32767 and 32767"));

// A duration in seconds as the request gives it (the default when it is missing), in whole milliseconds.
std::optional<milliseconds> duration(const json& body, double fallback)
{
    const double seconds = JsonValues::number(body, "duration").value_or(fallback);
    if (!(seconds >= 0) || seconds * 1000 > double(InputRequests::MaxDuration.count()))
        return std::nullopt;
    return milliseconds(std::llround(seconds * 1000));
}

const HTTPError tooMuchInput =
    bad(QStringLiteral("Too much input for one request: at most %1 events").arg(InputRequests::MaxEvents));

const HTTPError badDuration = bad(QStringLiteral("'duration' must be a number of seconds from 0 to 60"));

// The modifier masks named in the body's array, each once, in the order first named; other entries are ignored.
QList<quint32> modifierMasks(const json& names)
{
    QList<quint32> masks;
    if (!names.is_array())
        return masks;
    for (const json& name : names) {
        if (!name.is_string())
            continue;
        const std::optional<quint32> mask = KeyNames::modifierMask(QString::fromStdString(name.get<std::string>()));
        if (mask && !masks.contains(*mask))
            masks.append(*mask);
    }
    return masks;
}

void pressModifiers(InputAutomation::Script& script, const QList<quint32>& masks)
{
    for (const quint32 mask : masks) {
        Step press = step(Action::KeyDown, KeyPause);
        press.keyCode = KeyNames::modifierKeyCode(mask);
        script.push_back(press);
    }
}

void releaseModifiers(InputAutomation::Script& script, const QList<quint32>& masks)
{
    for (auto it = masks.crbegin(); it != masks.crend(); ++it) {
        Step release = step(Action::KeyUp, KeyPause);
        release.keyCode = KeyNames::modifierKeyCode(*it);
        script.push_back(release);
    }
}

// The request's own limits, whatever its kind: so many events, so long in all.
InputRequests::Result checked(InputAutomation::Script script, json answer)
{
    qsizetype events = 0;
    milliseconds time{0};
    for (const Step& one : script) {
        events += one.events();
        time += one.duration();
    }
    if (events > InputRequests::MaxEvents)
        return tooMuchInput;
    if (time > InputRequests::MaxTime)
        return bad(QStringLiteral("The input would take longer than 10 minutes"));
    return InputRequests::Plan{std::move(script), std::move(answer)};
}

json point(const json& x, const json& y)
{
    return {{"x", x}, {"y", y}};
}

// What a key press sends once its name is known to be a string.
InputRequests::Result keyPress(const QString& name, const json& modifierNames, json answer)
{
    const std::optional<quint32> code = KeyNames::keyCode(name);
    if (!code) {
        const QString shown = name.size() > MaxLoggedKeyName ? name.left(MaxLoggedKeyName) + u'…' : name;
        qCInfo(lcApi).noquote() << QStringLiteral("Unknown key: ") + shown;
        return InputRequests::Plan{{}, std::move(answer)};
    }
    const QList<quint32> masks = modifierMasks(modifierNames);
    InputAutomation::Script script;
    pressModifiers(script, masks);
    Step down = step(Action::KeyDown, KeyPause);
    down.keyCode = *code;
    script.push_back(down);
    Step up = step(Action::KeyUp, KeyPause);
    up.keyCode = *code;
    script.push_back(up);
    releaseModifiers(script, masks);
    return checked(std::move(script), std::move(answer));
}

} // namespace

InputRequests::Result InputRequests::move(const Body& body)
{
    const json& object = body ? *body : emptyObject;
    const std::optional<double> x = JsonValues::number(object, "x");
    const std::optional<double> y = JsonValues::number(object, "y");
    if (!x || !y)
        return bad(QStringLiteral("Missing 'x' and 'y' coordinates"));
    if (!withinScreenRange({x, y}))
        return outOfRange;
    const std::optional<milliseconds> time = duration(object, 0);
    if (!time)
        return badDuration;
    const qint64 steps = JsonValues::integer(object, "steps").value_or(10);
    if (steps > MaxEvents)
        return tooMuchInput;

    InputAutomation::Script script;
    if (time->count() <= 0 || steps < 2) {
        script.push_back(moveTo(*x, *y));
    } else {
        Step glide = moveTo(*x, *y);
        glide.action = Action::Glide;
        glide.glideSteps = int(steps);
        glide.glideDuration = *time;
        script.push_back(glide);
    }
    return checked(std::move(script), {{"success", true}, {"position", point(object.at("x"), object.at("y"))}});
}

InputRequests::Result InputRequests::click(const Body& body)
{
    const json& object = body ? *body : emptyObject;
    const std::optional<double> x = JsonValues::number(object, "x");
    const std::optional<double> y = JsonValues::number(object, "y");
    if (!withinScreenRange({x, y}))
        return outOfRange;
    const QString button = JsonValues::string(object, "button").value_or(QStringLiteral("left"));
    const QString name = button.toLower();
    const SyntheticInput::MouseButton which = name == QLatin1String("right") ? SyntheticInput::MouseButton::Right
                                              : name == QLatin1String("middle") || name == QLatin1String("center")
                                                  ? SyntheticInput::MouseButton::Middle
                                                  : SyntheticInput::MouseButton::Left;
    const qint64 count = JsonValues::integer(object, "count").value_or(1);
    if (count < 0)
        return bad(QStringLiteral("'count' must be 0 or more"));
    if (count > MaxEvents) // checked again below with the rest, but before a script that large is made
        return tooMuchInput;
    const QList<quint32> masks = modifierMasks(object.value("modifiers", json()));

    InputAutomation::Script script;
    // A coordinate left out is where the pointer is.
    if (x || y)
        script.push_back(moveTo(x, y, MoveSettle));
    pressModifiers(script, masks);
    for (qint64 i = 1; i <= count; ++i) {
        Step down = step(Action::ButtonDown, ButtonHold);
        down.button = which;
        script.push_back(down);
        Step up = step(Action::ButtonUp, i < count ? BetweenClicks : milliseconds(0));
        up.button = which;
        script.push_back(up);
    }
    releaseModifiers(script, masks);

    json answer = {{"success", true}, {"button", button.toStdString()}, {"count", count}};
    if (x && y)
        answer["position"] = point(object.at("x"), object.at("y"));
    return checked(std::move(script), std::move(answer));
}

InputRequests::Result InputRequests::drag(const Body& body)
{
    const json& object = body ? *body : emptyObject;
    const std::optional<double> fromX = JsonValues::number(object, "fromX");
    const std::optional<double> fromY = JsonValues::number(object, "fromY");
    const std::optional<double> toX = JsonValues::number(object, "toX");
    const std::optional<double> toY = JsonValues::number(object, "toY");
    if (!fromX || !fromY || !toX || !toY)
        return bad(QStringLiteral("Missing 'fromX', 'fromY', 'toX', 'toY' coordinates"));
    if (!withinScreenRange({fromX, fromY, toX, toY}))
        return outOfRange;
    const std::optional<milliseconds> time = duration(object, 0.5);
    if (!time)
        return badDuration;
    const qint64 steps = JsonValues::integer(object, "steps").value_or(20);
    if (steps < 1)
        return bad(QStringLiteral("'steps' must be at least 1"));
    if (steps > MaxEvents)
        return tooMuchInput;
    // Only the right button has a drag of its own; any other name drags with the left one.
    const SyntheticInput::MouseButton which =
        JsonValues::string(object, "button").value_or(QString()).toLower() == QLatin1String("right")
            ? SyntheticInput::MouseButton::Right
            : SyntheticInput::MouseButton::Left;

    InputAutomation::Script script;
    script.push_back(moveTo(*fromX, *fromY, MoveSettle));
    Step down = step(Action::ButtonDown);
    down.button = which;
    script.push_back(down);
    qint64 scheduled = 0; // whole milliseconds given out so far, so that rounding never adds up
    for (qint64 i = 1; i <= steps; ++i) {
        const double share = double(i) / double(steps);
        const auto due = qint64(std::llround(double(time->count()) * share));
        script.push_back(
            moveTo(*fromX + (*toX - *fromX) * share, *fromY + (*toY - *fromY) * share, milliseconds(due - scheduled)));
        scheduled = due;
    }
    Step up = step(Action::ButtonUp);
    up.button = which;
    script.push_back(up);

    return checked(std::move(script), {{"success", true},
                                       {"from", point(object.at("fromX"), object.at("fromY"))},
                                       {"to", point(object.at("toX"), object.at("toY"))},
                                       {"duration", object.contains("duration") && object.at("duration").is_number()
                                                        ? object.at("duration")
                                                        : json(0.5)}});
}

InputRequests::Result InputRequests::type(const Body& body)
{
    const json& object = body ? *body : emptyObject;
    const std::optional<QString> text = JsonValues::string(object, "text");
    if (!text)
        return bad(QStringLiteral("Missing 'text' field"));
    const qint64 delay = JsonValues::integer(object, "delay").value_or(10);
    if (delay < 0 || delay > MaxDelayMs)
        return bad(QStringLiteral("'delay' must be from 0 to %1 ms").arg(MaxDelayMs));
    if (text->size() > MaxEvents && text->toUcs4().size() > MaxEvents)
        return bad(QStringLiteral("Too much text for one request: at most %1 characters").arg(MaxEvents));

    // One step per character as a person sees it: an e with its accent, a flag of two letters.
    InputAutomation::Script script;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, *text);
    qsizetype start = 0;
    while (graphemes.toNextBoundary() != -1) {
        const qsizetype end = graphemes.position();
        Step character = step(Action::Type, milliseconds(delay));
        character.text = text->mid(start, end - start);
        script.push_back(std::move(character));
        start = end;
    }
    if (!script.empty())
        script.back().pause = milliseconds(0);
    return checked(std::move(script), {{"success", true}, {"typed", object.at("text")}});
}

InputRequests::Result InputRequests::key(const Body& body)
{
    const json& object = body ? *body : emptyObject;
    const std::optional<QString> name = JsonValues::string(object, "key");
    if (!name)
        return bad(QStringLiteral("Missing 'key' field"));
    const json modifiers = object.value("modifiers", json());
    return keyPress(*name, modifiers,
                    {{"success", true},
                     {"key", object.at("key")},
                     {"modifiers", modifiers.is_array() ? modifiers : json::array()}});
}

InputRequests::Result InputRequests::hotkey(const Body& body)
{
    const json& object = body ? *body : emptyObject;
    const auto keys = object.find("keys");
    const bool valid = keys != object.end() && keys->is_array() && !keys->empty() &&
                       std::all_of(keys->begin(), keys->end(), [](const json& key) { return key.is_string(); });
    if (!valid)
        return bad(QStringLiteral("Missing 'keys' array"));
    // The last name is the key, the names before it its modifiers.
    const json modifiers(keys->begin(), keys->end() - 1);
    return keyPress(QString::fromStdString(keys->back().get<std::string>()), modifiers,
                    {{"success", true}, {"keys", *keys}});
}
