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
    void show(const QString& text)
    {
        editor.show(
            text, [this](std::optional<QString> result) { completions.append(result); }, [this] { ++recaptures; });
    }
    QPlainTextEdit* textView() { return editor.findChild<QPlainTextEdit*>(QStringLiteral("textView")); }
    QPushButton* recaptureButton() { return editor.findChild<QPushButton*>(QStringLiteral("recaptureButton")); }

    TextEditorWindow editor;
    QList<std::optional<QString>> completions;
    int recaptures = 0;
};

} // namespace

// Typing replaces the whole text and Save hands it back, to the latest show only. Ctrl+S is pressed in the real program
// by tests/e2e/capture_test.py.
TEST_F(TextEditorWindowTest, TypingReplacesTheTextAndSaveAnswersOnlyTheLatestShow)
{
    int firstCompletions = 0;
    editor.show(
        QStringLiteral("first capture"), [&](std::optional<QString>) { ++firstCompletions; }, nullptr);
    show(QStringLiteral("Recognised text"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_EQ(QApplication::focusWidget(), textView());
    QTest::keyClicks(textView(), QStringLiteral("Fixed"));
    editor.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(completions, QList<std::optional<QString>>{QStringLiteral("Fixed")});
    EXPECT_EQ(firstCompletions, 0);
    EXPECT_FALSE(editor.isVisible());
}

// Recapture leaves at once, answers nothing and starts the capture a moment later.
TEST_F(TextEditorWindowTest, EscapeAnywhereAndTheCloseButtonCancelAndRecaptureStartsAMomentLater)
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

    recaptureButton()->click();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(recaptures, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recaptures == 1; }, 2000));
    EXPECT_EQ(completions.size(), 2);
}
