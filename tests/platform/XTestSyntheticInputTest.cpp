#include <QGuiApplication>

#include "platform/linux/XTestSyntheticInput.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

using X11TestSupport::waitUntil;

namespace {

// A window that records the keys and clicks it receives.
class InputRecorder : public X11TestSupport::ColourWindow {
public:
    InputRecorder()
        : ColourWindow(QRect(300, 300, 400, 300), Qt::white)
    {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
    }

    QString text;
    QStringList keys;
    QStringList clicks;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        text += event->text();
        const int key = event->key();
        if (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta)
            return;
        keys << QKeySequence(event->keyCombination()).toString(QKeySequence::PortableText);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        clicks << QStringLiteral("press %1").arg(int(event->button()));
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        clicks << QStringLiteral("double %1").arg(int(event->button()));
    }
};

} // namespace

class XTestSyntheticInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_input.isAvailable());
        m_window.show();
        m_window.requestActivate();
        m_input.movePointer(QPointF(500, 450));
        ASSERT_TRUE(waitUntil([&] { return m_window.isActive(); }));
    }

    XTestSyntheticInput m_input;
    InputRecorder m_window;
};

TEST_F(XTestSyntheticInputTest, MovesThePointerOnEitherMonitor)
{
    m_input.movePointer(QPointF(100, 200));
    EXPECT_TRUE(waitUntil([] { return QCursor::pos() == QPoint(100, 200); })) << QCursor::pos().x();
    m_input.movePointer(QPointF(1920 + 640.6, 1079));
    EXPECT_TRUE(waitUntil([] { return QCursor::pos() == QPoint(2560, 1079); })) << QCursor::pos().x();
}

TEST_F(XTestSyntheticInputTest, TypesTextTheLayoutLacks)
{
    // Upper case needs Shift; é, € and the emoji are not on the US layout and go through borrowed key codes.
    const QString text = QStringLiteral("Hé, 1€ ok\t😀ü");
    m_input.typeText(text);
    EXPECT_TRUE(waitUntil([&] { return m_window.text.size() >= text.size(); }));
    EXPECT_EQ(m_window.text, text);
}

TEST_F(XTestSyntheticInputTest, KeysWithModifiersAndClicks)
{
    // Command is Ctrl on Linux, option is Alt: command-shift-A, option-F1, plain 7.
    const std::pair<quint32, quint32> presses[] = {{0, 256 | 512}, {122, 2048}, {26, 0}};
    for (const auto& [code, modifiers] : presses) {
        ASSERT_TRUE(m_input.keyDown(code, modifiers)) << code;
        ASSERT_TRUE(m_input.keyUp(code, modifiers)) << code;
    }
    EXPECT_FALSE(m_input.keyDown(200, 256)) << "no such key";
    EXPECT_TRUE(waitUntil([&] { return m_window.keys.size() >= 3; }));
    EXPECT_EQ(m_window.keys, QStringList({"Ctrl+Shift+A", "Alt+F1", "7"}));

    m_input.click(SyntheticInput::MouseButton::Left, 2, 0);
    m_input.click(SyntheticInput::MouseButton::Right, 1, 0);
    // Qt reports the second press of a double click as a press followed by a double click.
    EXPECT_TRUE(waitUntil([&] { return m_window.clicks.size() >= 4; }));
    EXPECT_EQ(m_window.clicks, QStringList({"press 1", "press 1", "double 1", "press 2"}));
}
