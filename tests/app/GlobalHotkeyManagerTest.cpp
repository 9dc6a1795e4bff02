#include "app/GlobalHotkeyManager.h"
#include "platform/fake/FakeHotkeyService.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr quint32 Seven = 26;
constexpr quint32 CmdShift = 768;

} // namespace

TEST(GlobalHotkeyManager, EachRegistrationReplacesTheLastUntilUnregistered)
{
    FakeHotkeyService service;
    auto manager = std::make_unique<GlobalHotkeyManager>(service);
    int first = 0;
    int second = 0;
    manager->registerHotkey(Seven, CmdShift, [&] { ++first; });
    manager->registerHotkey(Seven, CmdShift, [&] { ++second; });
    EXPECT_TRUE(service.pressCombination(Seven, CmdShift));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);

    // A different combination: the old one is no longer held.
    manager->registerHotkey(0, 4096, [&] { ++second; });
    EXPECT_FALSE(service.pressCombination(Seven, CmdShift));
    EXPECT_TRUE(service.pressCombination(0, 4096));
    EXPECT_EQ(second, 2);

    manager->unregister();
    manager->unregister();
    EXPECT_FALSE(service.grabbed.has_value());
    EXPECT_FALSE(service.pressCombination(0, 4096));

    // Without a function a press does nothing; destruction unregisters a live registration.
    manager->registerHotkey(Seven, CmdShift, {});
    EXPECT_TRUE(service.pressCombination(Seven, CmdShift));
    manager.reset();
    EXPECT_FALSE(service.grabbed.has_value());
    EXPECT_FALSE(service.hasPressHandler());
    EXPECT_EQ(second, 2);
}

TEST(GlobalHotkeyManager, HandlerMayReRegisterWhileRunning)
{
    // The preferences can change the hotkey from within a press; the running function is replaced mid-call.
    FakeHotkeyService service;
    GlobalHotkeyManager manager(service);
    QStringList seen;
    manager.registerHotkey(Seven, CmdShift, [&] {
        const QString marker = QStringLiteral("first");
        manager.registerHotkey(0, CmdShift, [&] { seen << QStringLiteral("second"); });
        seen << marker;
    });
    EXPECT_TRUE(service.pressCombination(Seven, CmdShift));
    EXPECT_TRUE(service.pressCombination(0, CmdShift));
    EXPECT_EQ(seen, QStringList({"first", "second"}));
}

TEST(GlobalHotkeyManager, HandlerKeptByTheServiceOutlivingTheManagerDoesNothing)
{
    // A service that forgets to drop the handler must not reach a destroyed manager's function.
    class ForgetfulService : public FakeHotkeyService {
    public:
        void setPressHandler(std::function<void()> handler) override
        {
            if (handler)
                FakeHotkeyService::setPressHandler(std::move(handler));
        }
    } service;
    int presses = 0;
    {
        GlobalHotkeyManager manager(service);
        manager.registerHotkey(Seven, CmdShift, [&] { ++presses; });
    }
    service.grabbed = FakeHotkeyService::Combination(Seven, CmdShift);
    EXPECT_TRUE(service.pressCombination(Seven, CmdShift));
    EXPECT_EQ(presses, 0);
}
