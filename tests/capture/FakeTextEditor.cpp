#include "FakeTextEditor.h"

void FakeTextEditor::showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                                    std::function<void()> recaptureHandler)
{
    requests.append({text, std::move(completion), std::move(recaptureHandler)});
}

void FakeTextEditor::save(const QString& text)
{
    requests.last().completion(text);
}

void FakeTextEditor::cancel()
{
    requests.last().completion(std::nullopt);
}

void FakeTextEditor::recapture()
{
    requests.last().recaptureHandler();
}
