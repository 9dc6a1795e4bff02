#include "widgets/capture/TextEditorWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TextEditorWindowTest : public ::testing::Test {
protected:
    // Shows text and records what the showing hands back.
    void show(const QString& text, bool withRecapture = true)
    {
        editor.show(
            text, [this](std::optional<QString> result) { completions.append(result); },
            withRecapture ? TextEditorWindow::RecaptureHandler([this] { ++recaptures; }) : nullptr);
    }
    QPlainTextEdit* textView() { return editor.findChild<QPlainTextEdit*>(QStringLiteral("textView")); }
    QPushButton* recaptureButton() { return editor.findChild<QPushButton*>(QStringLiteral("recaptureButton")); }

    TextEditorWindow editor;
    QList<std::optional<QString>> completions;
    int recaptures = 0;
};

} // namespace

// Ctrl+S is pressed in the real program by tests/e2e/capture_test.py.
TEST_F(TextEditorWindowTest, TypingReplacesTheTextAndSaveHandsItBack)
{
    show(QStringLiteral("Recognised text"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_EQ(QApplication::focusWidget(), textView());
    QTest::keyClicks(textView(), QStringLiteral("Fixed"));
    editor.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(completions, QList<std::optional<QString>>{QStringLiteral("Fixed")});
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(TextEditorWindowTest, EscapeAnywhereAndTheCloseButtonCancel)
{
    QWidget otherWindow;
    otherWindow.show();
    show(QStringLiteral("text"));
    QTest::keyClick(&otherWindow, Qt::Key_Escape);
    EXPECT_FALSE(editor.isVisible());
    QTest::keyClick(&otherWindow, Qt::Key_Escape); // a closed editor leaves Escape alone

    show(QStringLiteral("text"));
    EXPECT_TRUE(editor.close());
    EXPECT_EQ(completions, (QList<std::optional<QString>>{std::nullopt, std::nullopt}));

    // Escape meant for a capture overlay, which holds the keyboard, is not the editor's.
    show(QStringLiteral("text"));
    otherWindow.grabKeyboard();
    QTest::keyClick(&otherWindow, Qt::Key_Escape);
    otherWindow.releaseKeyboard();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(completions.size(), 2);
}

// Only the latest show is answered; Recapture leaves at once, answers nothing and starts the capture a moment later.
TEST_F(TextEditorWindowTest, ASecondShowReplacesTheFirstAndRecaptureStartsAMomentLater)
{
    show(QStringLiteral("first capture"), false);
    EXPECT_TRUE(recaptureButton()->isHidden());
    int secondCompletions = 0;
    editor.show(
        QStringLiteral("second capture"), [&](std::optional<QString>) { ++secondCompletions; }, [] {});
    EXPECT_FALSE(recaptureButton()->isHidden());
    editor.saveAndClose();
    EXPECT_TRUE(completions.isEmpty());
    EXPECT_EQ(secondCompletions, 1);

    show(QStringLiteral("third capture"));
    recaptureButton()->click();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(recaptures, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recaptures == 1; }, 2000));
    EXPECT_TRUE(completions.isEmpty());
}
