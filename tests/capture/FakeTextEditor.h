#pragma once

#include "capture/TextEditorDelegate.h"

#include <QList>
#include <QObject>

// An editor the test answers by hand: it records every request and saves, cancels or asks for a recapture on
// the latest one. A QObject, so that the controller holds it weakly as it holds the real editor.
class FakeTextEditor : public QObject, public TextEditorDelegate {
public:
    struct Request {
        QString text;
        std::function<void(std::optional<QString>)> completion;
        std::function<void()> recaptureHandler;
    };

    void showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                        std::function<void()> recaptureHandler) override
    {
        requests.append({text, std::move(completion), std::move(recaptureHandler)});
    }

    void save(const QString& text) { requests.last().completion(text); }
    void cancel() { requests.last().completion(std::nullopt); }
    void recapture() { requests.last().recaptureHandler(); }

    QList<Request> requests;
};
