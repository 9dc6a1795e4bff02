#include <QGuiApplication>

#include "platform/linux/XTestSyntheticInput.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>

using X11TestSupport::waitUntil;

namespace {

// A window that records the text typed and the clicks it receives.
class InputRecorder : public X11TestSupport::ColourWindow {
public:
    InputRecorder()
        : ColourWindow(QRect(300, 300, 400, 300), Qt::white)
    {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
    }

    QStringList clicks;
    QString text;

protected:
    void keyPressEvent(QKeyEvent* event) override { text += event->text(); }
    void mousePressEvent(QMouseEvent* event) override { clicks << "press " + QString::number(event->button()); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { clicks << "double " + QString::number(event->button()); }
};

// The recording window active under the pointer.
class XTestSyntheticInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(input.isAvailable());
        window.show();
        window.requestActivate();
        input.movePointer(QPointF(500, 450));
        // The window manager may take seconds on a busy machine.
        ASSERT_TRUE(waitUntil([&] { return window.isActive(); }, 10000));
    }
    XTestSyntheticInput input;
    InputRecorder window;
};

} // namespace

TEST_F(XTestSyntheticInputTest, ClicksKeepTheirCountAndButtonAndUnknownKeysAreRefused)
{
    EXPECT_FALSE(input.keyDown(200, 256)) << "no such key";
    input.click(SyntheticInput::MouseButton::Left, 2, 0);
    input.click(SyntheticInput::MouseButton::Right, 1, 0);
    // Qt reports the second press of a double click as a press followed by a double click.
    EXPECT_TRUE(waitUntil([&] { return window.clicks.size() >= 4; }));
    EXPECT_EQ(window.clicks, QStringList({"press 1", "press 1", "double 1", "press 2"}));
}

// More characters than the keyboard has spare keys: each key is lent to a new character only once the one it typed
// before has had time to arrive, and every spare key is empty again afterwards.
TEST_F(XTestSyntheticInputTest, TypesMoreForeignCharactersThanThereAreSpareKeys)
{
    const auto keymap = [] { return X11TestSupport::run(QStringLiteral("xmodmap"), {"-pke"}); };
    const QByteArray before = keymap();

    QString text;
    for (char32_t c = U'\u4e00'; c < U'\u4e00' + 40; ++c) // 40 CJK ideographs; the keyboard has about 20 spare keys
        text += QString::fromUcs4(&c, 1);
    text += QStringLiteral("aé");
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype typed = input.typeText(rest);
        rest.remove(0, typed);
        X11TestSupport::pause(typed < 1 ? 30 : 5); // the receiver reads meanwhile, as another program would
    }
    EXPECT_TRUE(waitUntil([&] { return window.text.size() >= text.size(); }, 10000));
    EXPECT_EQ(window.text, text);

    X11TestSupport::pause(200);
    input.releaseSpareKeys();
    EXPECT_EQ(keymap(), before);
}
