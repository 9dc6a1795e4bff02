#pragma once

#include "capture/TextEditorDelegate.h"

#include <QList>
#include <QObject>

// An editor the test answers by hand: it records every request and saves, cancels or asks for a recapture on
// the latest one.
class FakeTextEditor : public QObject, public TextEditorDelegate {
    Q_OBJECT

public:
    struct Request {
        QString text;
        std::function<void(std::optional<QString>)> completion;
        std::function<void()> recaptureHandler;
    };

    void showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                        std::function<void()> recaptureHandler) override;

    void save(const QString& text);
    void cancel();
    void recapture();

    QList<Request> requests;
};
