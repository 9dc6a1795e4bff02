#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// On-device text recognition engine. recognize() blocks and is called on worker threads, never on the
// main thread; implementations must be safe to call from several threads at once.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;

    // The recognised text, lines joined by one line feed in reading order; empty when nothing was recognised.
    // On failure returns an empty text and sets *error (when given) to a description.
    virtual QString recognize(const QImage& image, QString* error) = 0;

    // Gets ready for the first request (loads models) so that the first capture does not pay for it. Blocks; called
    // on a worker thread. Returns false and sets *error when the engine cannot be made ready.
    virtual bool warmUp(QString* error)
    {
        (void)error;
        return true;
    }

    // Lets go of what it keeps warm beyond what one capture needs, after a while without captures. Safe from any
    // thread, also while a recognition runs.
    virtual void releaseSpareEngines() {}

    // The languages it reads, as recogniser codes ("deu", "eng"); safe from any thread.
    virtual QStringList languages() const = 0;
};
