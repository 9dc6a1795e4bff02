#pragma once

#include "core/platform/TextRecognizer.h"
#include "core/recognition/ScreenTextPreparer.h"

#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class QThreadPool;

// Recognition with Tesseract's LSTM engine. Initialising an engine costs more than reading a selection, so
// initialised engines are kept warm in a pool: each call checks one out (or makes one), uses it alone, and
// returns it. Engines are made again only when the language set changes. Each crop is first prepared for
// screen text (ScreenTextPreparer) inside the call, on the calling worker thread.
//
// An engine reads on one core. A selection of several lines is cut between lines into bands (TextBands) that
// engines on helper threads read alongside the calling thread, as many as the machine has cores (and memory for);
// the lines come back in page order. Each band is enlarged only when its own text is low enough to need it.
// One engine is made ahead; the others when a capture first needs them, and they are let go again after a
// while without captures (releaseSpareEngines()).
class TesseractTextRecognizer : public TextRecognizer {
public:
    struct Tuning {
        ScreenTextPreparer::Steps steps;
        int pageSegMode = -1;    // Tesseract's page segmentation mode; -1 chooses per crop
        int bandPageSegMode = 6; // the mode each band of a crop is read in (one block)
        // Dark crops are inverted before recognition; retrying lines inverted then only costs time.
        bool retryInvertedLines = false;
        int sourceResolution = 70;
        bool readTablesAcross = true;
        // Engines that read the bands of one crop at the same time; 1 reads every crop on the calling thread, 0
        // as many as the machine has cores and memory for (machineEngines()).
        int engines = 0;
        int bands = 2;         // at most this many bands per crop, and at least one per engine
        QStringList variables; // "name=value" settings of Tesseract, applied when an engine is made
    };

    // dataPath is the folder of the *.traineddata files; languages are recogniser codes joined in that
    // order ("deu", "eng"). Use defaultDataPath() and defaultLanguages() for the user's setup.
    TesseractTextRecognizer(const QString& dataPath, const QStringList& languages);
    TesseractTextRecognizer(const QString& dataPath, const QStringList& languages, const Tuning& tuning);
    ~TesseractTextRecognizer() override;

    QString recognize(const QImage& image, QString* error) override;

    // Makes the engines ahead of the first capture. Blocks; call it off the main thread.
    bool warmUp(QString* error) override;
    // Starts making as many engines as read a crop, each on a helper thread of its own, for a caller with other
    // work before its first recognize() (starting up, reading the image): loading the models is a quarter of
    // reading a paragraph. recognize() then waits for these rather than making more.
    void prepareEngines();

    // Lets every idle engine but one go, and gives their memory back to the system.
    void releaseSpareEngines() override;
    // Engines that read a crop's bands at the same time (Tuning::engines, or as the machine allows).
    int engines() const { return m_engines; }
    // One per core, at most 4, and no more than a twentieth of the memory available holds (an engine for German
    // and English takes about 40 MiB).
    static int machineEngines();

    // Engines of another language set are dropped as they come back; calls in progress finish with theirs.
    void setLanguages(const QStringList& languages);
    QStringList languages() const override;
    QString dataPath() const { return m_dataPath; }

    // $TESSDATA_PREFIX when it holds trained data, else the folder of the system's Tesseract packages.
    static QString defaultDataPath();
    // German, English and the user's first three preferred languages, as far as installed in dataPath.
    static QStringList defaultLanguages(const QString& dataPath);

    // Limits the OpenMP team of the calling thread to one thread. Tesseract otherwise starts a team as
    // large as the machine for every line, which on a small machine is ten times slower, not faster.
    static void limitThreadsOfCallingThread();

private:
    class Engine;
    struct Bands;

    std::unique_ptr<Engine> checkOut(QString* error);
    std::unique_ptr<Engine> makeEngine(const QString& languages, QString* error) const;
    void checkIn(std::unique_ptr<Engine> engine);
    // Has a helper thread read bands alongside the calling thread, as soon as one is free.
    void startHelper(const std::shared_ptr<Bands>& bands);

    const QString m_dataPath;
    const Tuning m_tuning;
    const ScreenTextPreparer m_preparer;
    const int m_engines;
    mutable std::mutex m_mutex;
    QStringList m_languages;
    std::vector<std::unique_ptr<Engine>> m_idle;
    int m_making = 0; // engines prepareEngines() is still making
    std::condition_variable m_engineMade;
    // Last, so that it is destroyed first: its destructor waits for helpers, which still use the engine pool.
    std::unique_ptr<QThreadPool> m_helpers;
};
