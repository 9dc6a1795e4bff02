#pragma once

#include <QString>

#include <functional>
#include <optional>

// How the capture controller shows the editor (the TextEditorWindow).
class TextEditorDelegate {
public:
    // completion is called once when the editor closes: with the edited text on save, with nothing on cancel
    // or close. recaptureHandler is called instead of completion when the user asks to capture again; it may be
    // empty, in which case the editor offers no recapture.
    virtual void showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                                std::function<void()> recaptureHandler) = 0;

protected:
    ~TextEditorDelegate() = default;
};
