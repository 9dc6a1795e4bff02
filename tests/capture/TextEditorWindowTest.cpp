#include "capture/TextEditorWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Everything the editor handed back during one test.
struct Outcomes {
    QList<std::optional<QString>> completions;
    int recaptures = 0;

    TextEditorWindow::Completion completion() {
        return [this](std::optional<QString> text) { completions.append(text); };
    }
    TextEditorWindow::RecaptureHandler recapture() {
        return [this] { ++recaptures; };
    }
};

class TextEditorWindowTest : public ::testing::Test {
protected:
    QPlainTextEdit* textView() { return editor.findChild<QPlainTextEdit*>(QStringLiteral("textView")); }
    QPushButton* button(const char* name) { return editor.findChild<QPushButton*>(QString::fromLatin1(name)); }

    TextEditorWindow editor;
    Outcomes outcomes;
};

} // namespace

TEST_F(TextEditorWindowTest, OpensWithTheWholeTextSelectedForTyping) {
    editor.show(QStringLiteral("Recognised text"), outcomes.completion(), outcomes.recapture());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Captured Text"));
    EXPECT_EQ(QApplication::focusWidget(), textView());
    EXPECT_EQ(textView()->textCursor().selectedText(), QStringLiteral("Recognised text"));

    QTest::keyClicks(textView(), QStringLiteral("Fixed"));
    QTest::keyClick(textView(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(outcomes.completions, QList<std::optional<QString>>{QStringLiteral("Fixed")});
    EXPECT_FALSE(editor.isVisible());
    EXPECT_FALSE(editor.isPending());
}

TEST_F(TextEditorWindowTest, SavingAnEmptyTextHandsBackAnEmptyText) {
    editor.show(QStringLiteral("something"), outcomes.completion(), {});
    textView()->clear();
    button("saveButton")->click();
    ASSERT_EQ(outcomes.completions.size(), 1);
    ASSERT_TRUE(outcomes.completions[0].has_value());
    EXPECT_TRUE(outcomes.completions[0]->isEmpty());
}

TEST_F(TextEditorWindowTest, EscapeAnywhereInTheApplicationCancels) {
    QWidget otherWindow;
    otherWindow.show();
    editor.show(QStringLiteral("text"), outcomes.completion(), outcomes.recapture());

    QTest::keyClick(&otherWindow, Qt::Key_Escape);
    EXPECT_EQ(outcomes.completions, QList<std::optional<QString>>{std::nullopt});
    EXPECT_FALSE(editor.isVisible());

    // Closed editors leave Escape alone.
    QTest::keyClick(&otherWindow, Qt::Key_Escape);
    EXPECT_EQ(outcomes.completions.size(), 1);
    EXPECT_EQ(outcomes.recaptures, 0);
}

TEST_F(TextEditorWindowTest, EscapeThatAnotherWidgetGrabbedIsNotTheEditors) {
    QWidget overlay;
    overlay.show();
    editor.show(QStringLiteral("text"), outcomes.completion(), outcomes.recapture());
    overlay.grabKeyboard();
    QTest::keyClick(&overlay, Qt::Key_Escape);
    overlay.releaseKeyboard();
    EXPECT_TRUE(outcomes.completions.isEmpty());
    EXPECT_TRUE(editor.isVisible());
}

TEST_F(TextEditorWindowTest, ClosingTheWindowCancels) {
    editor.show(QStringLiteral("text"), outcomes.completion(), outcomes.recapture());
    EXPECT_TRUE(editor.close());
    EXPECT_EQ(outcomes.completions, QList<std::optional<QString>>{std::nullopt});
    EXPECT_EQ(outcomes.recaptures, 0);
}

TEST_F(TextEditorWindowTest, RecaptureLeavesAtOnceAndStartsTheCaptureAMomentLater) {
    editor.show(QStringLiteral("text"), outcomes.completion(), outcomes.recapture());
    const auto started = std::chrono::steady_clock::now();
    button("recaptureButton")->click();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(outcomes.recaptures, 0);

    EXPECT_TRUE(QTest::qWaitFor([&] { return outcomes.recaptures == 1; }, 2000));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(90));
    EXPECT_TRUE(outcomes.completions.isEmpty());
    QTest::qWait(150);
    EXPECT_EQ(outcomes.recaptures, 1);
}

TEST_F(TextEditorWindowTest, RecaptureButtonOnlyWithAHandler) {
    editor.show(QStringLiteral("one"), outcomes.completion(), {});
    EXPECT_TRUE(button("recaptureButton")->isHidden());
    editor.cancel();
    editor.show(QStringLiteral("two"), outcomes.completion(), outcomes.recapture());
    EXPECT_FALSE(button("recaptureButton")->isHidden());
}

TEST_F(TextEditorWindowTest, ASecondShowReplacesTheFirst) {
    Outcomes first;
    editor.show(QStringLiteral("first capture"), first.completion(), first.recapture());
    editor.show(QStringLiteral("second capture"), outcomes.completion(), outcomes.recapture());
    EXPECT_EQ(editor.text(), QStringLiteral("second capture"));
    editor.saveAndClose();

    EXPECT_TRUE(first.completions.isEmpty());
    EXPECT_EQ(first.recaptures, 0);
    EXPECT_EQ(outcomes.completions, QList<std::optional<QString>>{QStringLiteral("second capture")});

    // The window is reused: the next capture shows again with its own outcome.
    Outcomes third;
    editor.show(QStringLiteral("third"), third.completion(), {});
    EXPECT_TRUE(editor.isVisible());
    editor.cancel();
    EXPECT_EQ(third.completions, QList<std::optional<QString>>{std::nullopt});
}
