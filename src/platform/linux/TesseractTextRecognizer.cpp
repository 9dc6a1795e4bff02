#include "platform/linux/TesseractTextRecognizer.h"

#include "core/recognition/ReadingOrder.h"
#include "core/recognition/RecognitionLanguages.h"
#include "core/recognition/TextBands.h"
#include "platform/linux/InlineOpenMPSections.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QThread>
#include <QThreadPool>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <malloc.h>
#include <omp.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <string>

namespace {

using Line = ReadingOrder::Line;

QString joinedCodes(const QStringList& languages)
{
    return languages.join(QLatin1Char('+'));
}

void setPage(tesseract::TessBaseAPI& api, const QImage& page, int resolution)
{
    api.SetImage(page.constBits(), page.width(), page.height(), 1, int(page.bytesPerLine()));
    api.SetSourceResolution(resolution);
}

// The text lines found by a layout analysis, with their word counts but no text yet.
QList<Line> layoutLines(tesseract::PageIterator* it)
{
    QList<Line> lines;
    if (!it || it->Empty(tesseract::RIL_WORD))
        return lines;
    int block = 0;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_BLOCK))
            ++block;
        if (lines.isEmpty() || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            int left = 0, top = 0, right = 0, bottom = 0;
            it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
            lines.append({QString(), QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), block, 0});
        }
        ++lines.last().words;
    } while (it->Next(tesseract::RIL_WORD));
    return lines;
}

// Recognises the page set on the engine. Its lines are appended placed on the whole unscaled page (the engine's
// page is that page's rows from `top` on, enlarged by `factor`), their blocks numbered from 1.
bool recognizeLines(tesseract::TessBaseAPI& api, int top, double factor, QList<Line>* lines)
{
    if (api.Recognize(nullptr) != 0)
        return false;
    const std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it || it->Empty(tesseract::RIL_TEXTLINE))
        return true;
    const auto unscaled = [factor](int v) { return int(std::lround(v / factor)); };
    int block = 0;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_BLOCK))
            ++block;
        const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
        if (!text)
            continue;
        // Each line comes with its own line feed (and a paragraph's last one with two).
        const QString line = QString::fromUtf8(text.get()).trimmed();
        int left = 0, lineTop = 0, right = 0, bottom = 0;
        it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &lineTop, &right, &bottom);
        const QRect box(QPoint(unscaled(left), unscaled(lineTop) + top),
                        QPoint(unscaled(right) - 1, unscaled(bottom) - 1 + top));
        if (!line.isEmpty())
            lines->append({line, box, block, int(line.split(QLatin1Char(' '), Qt::SkipEmptyParts).size())});
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return true;
}

} // namespace

class TesseractTextRecognizer::Engine {
public:
    QString languages;
    tesseract::TessBaseAPI api;
};

// The bands of one page, shared by the engines that read them: each claims the next unread band until none is
// left, so that a helper that starts late, or never, leaves its share to the calling thread.
struct TesseractTextRecognizer::Bands {
    int resolution = 0;
    tesseract::PageSegMode mode = tesseract::PSM_SINGLE_BLOCK;
    std::vector<QImage> images;
    std::vector<int> tops;       // where each band's image begins on the unscaled page
    std::vector<double> factors; // how much each band's image is enlarged
    std::vector<QList<Line>> lines;
    std::mutex mutex;
    std::condition_variable progress;
    size_t claimed = 0;
    size_t read = 0;
    bool failed = false;

    void readOn(tesseract::TessBaseAPI& api)
    {
        for (;;) {
            size_t band = 0;
            {
                std::lock_guard lock(mutex);
                if (claimed == images.size())
                    return;
                band = claimed++;
            }
            QList<Line> found;
            bool ok = false;
            try {
                setPage(api, images[band], resolution);
                api.SetPageSegMode(mode);
                ok = recognizeLines(api, tops[band], factors[band], &found);
            } catch (...) {
                ok = false;
            }
            std::lock_guard lock(mutex);
            lines[band] = std::move(found);
            failed = failed || !ok;
            ++read;
            progress.notify_all();
        }
    }

    // The lines of all bands, page order kept, once every band is read; blocks numbered on across the bands.
    QList<Line> allLines()
    {
        std::unique_lock lock(mutex);
        progress.wait(lock, [this] { return read == images.size(); });
        QList<Line> all;
        int blocksBefore = 0;
        for (QList<Line>& band : lines) {
            int lastBlock = 0;
            for (Line& line : band) {
                lastBlock = std::max(lastBlock, line.block);
                line.block += blocksBefore;
                all.append(std::move(line));
            }
            blocksBefore += lastBlock;
        }
        return all;
    }
};

TesseractTextRecognizer::TesseractTextRecognizer(const QString& dataPath, const QStringList& languages)
    : TesseractTextRecognizer(dataPath, languages, Tuning{})
{}

TesseractTextRecognizer::TesseractTextRecognizer(const QString& dataPath, const QStringList& languages,
                                                 const Tuning& tuning)
    : m_dataPath(dataPath)
    , m_tuning(tuning)
    , m_preparer(tuning.steps)
    , m_engines(tuning.engines > 0 ? tuning.engines : machineEngines())
    , m_languages(languages)
    , m_helpers(std::make_unique<QThreadPool>())
{
    // A thread per engine: prepareEngines() makes them all at once; a crop has helpers for all but one.
    m_helpers->setMaxThreadCount(m_engines);
}

int TesseractTextRecognizer::machineEngines()
{
    constexpr qint64 EngineBytes = 40ll << 20;
    const qint64 available = qint64(sysconf(_SC_AVPHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    const qint64 byMemory = available > 0 ? available / (20 * EngineBytes) : 1;
    return int(std::clamp<qint64>(std::min<qint64>(QThread::idealThreadCount(), byMemory), 1, 4));
}

void TesseractTextRecognizer::releaseSpareEngines()
{
    std::vector<std::unique_ptr<Engine>> spare;
    {
        std::lock_guard lock(m_mutex);
        while (m_idle.size() > 1) {
            spare.push_back(std::move(m_idle.back()));
            m_idle.pop_back();
        }
    }
    if (spare.empty())
        return;
    spare.clear();
    // The allocator keeps freed model memory for later otherwise, and the program stays as large as before.
    malloc_trim(0);
}

TesseractTextRecognizer::~TesseractTextRecognizer() = default;

void TesseractTextRecognizer::limitThreadsOfCallingThread()
{
    // OpenMP settings belong to the thread; environment variables read at start-up come too late for a
    // library loaded with the program, so each thread that runs Tesseract sets its own once. No active parallel
    // level at all also spares the two system calls with which OpenMP otherwise sizes the team of each of the
    // thousands of parallel regions a line passes through.
    thread_local bool limited = false;
    if (limited)
        return;
    omp_set_dynamic(1);
    omp_set_num_threads(1);
    omp_set_max_active_levels(0);
    InlineOpenMPSections::enableOnCallingThread();
    limited = true;
}

QString TesseractTextRecognizer::defaultDataPath()
{
    const QString fromEnvironment = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!fromEnvironment.isEmpty() && !RecognitionLanguages::installedIn(fromEnvironment).isEmpty())
        return fromEnvironment;
    for (const char* candidate : {"/usr/share/tesseract-ocr/5/tessdata", "/usr/share/tesseract-ocr/4.00/tessdata",
                                  "/usr/share/tessdata", "/usr/local/share/tessdata"}) {
        const QString folder = QString::fromLatin1(candidate);
        if (!RecognitionLanguages::installedIn(folder).isEmpty())
            return folder;
    }
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

QStringList TesseractTextRecognizer::defaultLanguages(const QString& dataPath)
{
    return RecognitionLanguages::select(QLocale::system().uiLanguages(), RecognitionLanguages::installedIn(dataPath));
}

void TesseractTextRecognizer::setLanguages(const QStringList& languages)
{
    std::lock_guard lock(m_mutex);
    if (languages == m_languages)
        return;
    m_languages = languages;
    m_idle.clear();
}

QStringList TesseractTextRecognizer::languages() const
{
    std::lock_guard lock(m_mutex);
    return m_languages;
}

std::unique_ptr<TesseractTextRecognizer::Engine> TesseractTextRecognizer::checkOut(QString* error)
{
    QString wanted;
    {
        std::unique_lock lock(m_mutex);
        m_engineMade.wait(lock, [this] { return !m_idle.empty() || m_making == 0; });
        wanted = joinedCodes(m_languages);
        if (!m_idle.empty()) {
            std::unique_ptr<Engine> engine = std::move(m_idle.back());
            m_idle.pop_back();
            return engine;
        }
    }
    return makeEngine(wanted, error);
}

std::unique_ptr<TesseractTextRecognizer::Engine> TesseractTextRecognizer::makeEngine(const QString& wanted,
                                                                                     QString* error) const
{
    if (wanted.isEmpty()) {
        if (error)
            *error = QStringLiteral("no trained data for German or English in %1").arg(m_dataPath);
        return nullptr;
    }
    auto engine = std::make_unique<Engine>();
    engine->languages = wanted;
    // Tesseract reads its data path with the trailing separator it expects.
    const QByteArray path = QFile::encodeName(QDir(m_dataPath).absolutePath() + QLatin1Char('/'));
    std::vector<std::string> names;
    std::vector<std::string> values;
    for (const QString& variable : m_tuning.variables) {
        names.push_back(variable.section(QLatin1Char('='), 0, 0).toStdString());
        values.push_back(variable.section(QLatin1Char('='), 1).toStdString());
    }
    if (engine->api.Init(path.constData(), wanted.toUtf8().constData(), tesseract::OEM_LSTM_ONLY, nullptr, 0, &names,
                         &values, false) != 0) {
        if (error)
            *error = QStringLiteral("Tesseract could not load the languages %1 from %2").arg(wanted, m_dataPath);
        return nullptr;
    }
    // Its diagnostics ("Estimating resolution as ...") are not for our users' terminals.
    engine->api.SetVariable("debug_file", "/dev/null");
    engine->api.SetVariable("tessedit_do_invert", m_tuning.retryInvertedLines ? "1" : "0");
    return engine;
}

void TesseractTextRecognizer::prepareEngines()
{
    QString wanted;
    {
        std::lock_guard lock(m_mutex);
        if (!m_idle.empty() || m_making > 0)
            return;
        m_making = m_engines;
        wanted = joinedCodes(m_languages);
    }
    for (int i = 0; i < m_engines; ++i) {
        m_helpers->start([this, wanted] {
            limitThreadsOfCallingThread();
            std::unique_ptr<Engine> engine;
            try {
                engine = makeEngine(wanted, nullptr);
            } catch (...) {
                // Out of memory: recognize() makes its own, and says so if it cannot either.
            }
            {
                std::lock_guard lock(m_mutex);
                --m_making;
                if (engine && engine->languages == joinedCodes(m_languages) && m_idle.size() < size_t(m_engines))
                    m_idle.push_back(std::move(engine));
            }
            m_engineMade.notify_all();
        });
    }
}

void TesseractTextRecognizer::checkIn(std::unique_ptr<Engine> engine)
{
    engine->api.Clear();
    // More idle engines than share a crop would only hold memory (about 40 MiB each).
    const size_t maxIdle = size_t(m_engines);
    std::lock_guard lock(m_mutex);
    if (engine->languages == joinedCodes(m_languages) && m_idle.size() < maxIdle)
        m_idle.push_back(std::move(engine));
}

bool TesseractTextRecognizer::warmUp(QString* error)
{
    limitThreadsOfCallingThread();
    // One engine: the others are made by the first capture that has bands for them, while this one reads.
    std::unique_ptr<Engine> engine = checkOut(error);
    if (!engine)
        return false;
    checkIn(std::move(engine));
    return true;
}

void TesseractTextRecognizer::startHelper(const std::shared_ptr<Bands>& bands)
{
    m_helpers->start([this, bands] {
        pthread_setname_np(pthread_self(), "q-recognize-2");
        limitThreadsOfCallingThread();
        try {
            // An engine made here (the first time, or after a language change) is ready for the next capture
            // even when the calling thread has read every band before it was.
            std::unique_ptr<Engine> engine = checkOut(nullptr);
            if (!engine)
                return;
            bands->readOn(engine->api);
            checkIn(std::move(engine));
        } catch (...) {
            // Out of memory making an engine: the calling thread reads the bands left.
        }
    });
}

QString TesseractTextRecognizer::recognize(const QImage& image, QString* error)
{
    if (image.isNull() || image.width() < 1 || image.height() < 1) {
        if (error)
            *error = QStringLiteral("the image is empty");
        return QString();
    }
    const QImage page = m_preparer.unscaled(image);
    if (page.isNull())
        return QString(); // one colour throughout: nothing to read
    const double maxFactor = m_preparer.maxEnlargement(page.size());

    limitThreadsOfCallingThread();
    const int resolution = m_tuning.sourceResolution;
    std::unique_ptr<Engine> engine;
    bool layoutSet = false; // the engine holds the whole page and the blocks its layout analysis found
    auto bands = std::make_shared<Bands>();
    bands->resolution = resolution;
    const auto readWhole = [&](tesseract::PageSegMode mode) {
        const double factor = m_preparer.enlargement(page, maxFactor);
        bands->mode = mode;
        bands->images.push_back(m_preparer.scaled(page, factor));
        bands->tops.push_back(0);
        bands->factors.push_back(factor);
    };

    // Reading the crop as one block keeps table rows and code lines whole, and keeps the small cells that the
    // full layout analysis drops as noise; but it reads across columns of running text, which only the layout
    // analysis separates. A layout analysis alone is cheap next to recognition. Columns stand apart by a gap
    // running through the text: without one the analysis is skipped.
    if (m_tuning.pageSegMode >= 0) {
        readWhole(tesseract::PageSegMode(m_tuning.pageSegMode));
    } else if (ScreenTextPreparer::hasColumnGap(page)) {
        engine = checkOut(error);
        if (!engine)
            return QString();
        readWhole(tesseract::PSM_AUTO);
        setPage(engine->api, bands->images.front(), resolution);
        engine->api.SetPageSegMode(tesseract::PSM_AUTO);
        const std::unique_ptr<tesseract::PageIterator> layout(engine->api.AnalyseLayout());
        layoutSet = ReadingOrder::hasColumnsOfRunningText(layoutLines(layout.get()));
        if (!layoutSet) {
            bands = std::make_shared<Bands>();
            bands->resolution = resolution;
        }
    }

    // Lines of one block read the same alone, so a page read as one block is shared out in bands, cut at its own
    // size, each enlarged only when its text is low enough to need it.
    if (bands->images.empty()) {
        bands->mode = tesseract::PageSegMode(m_tuning.bandPageSegMode);
        const int background = ScreenTextPreparer::backgroundLevel(page);
        const int margin = m_tuning.steps.margin;
        const int wanted = m_engines > 1 ? std::max(m_engines, m_tuning.bands) : 1;
        for (const TextBands::Band& band : TextBands::split(page, wanted)) {
            const QImage cut = TextBands::image(page, band, margin, background);
            const double factor = m_preparer.enlargement(cut, maxFactor);
            bands->images.push_back(m_preparer.scaled(cut, factor));
            bands->tops.push_back(band.top > 0 ? band.top - margin : 0);
            bands->factors.push_back(factor);
        }
    }
    bands->lines.resize(bands->images.size());

    // The calling thread takes its engine first: a helper started before would take the one warm engine and
    // leave the caller to make another, which fails where the helper's read would have succeeded.
    if (!engine) {
        engine = checkOut(error);
        if (!engine)
            return QString();
    }
    for (int helper = 1; helper < m_engines && size_t(helper) < bands->images.size(); ++helper)
        startHelper(bands);
    QList<Line> lines;
    bool recognized = false;
    if (layoutSet) {
        // Recognize() goes on with the blocks the layout analysis found.
        try {
            recognized = recognizeLines(engine->api, 0, bands->factors.front(), &lines);
        } catch (...) {
            recognized = false;
        }
    } else {
        bands->readOn(engine->api);
        lines = bands->allLines();
        recognized = !bands->failed;
    }
    checkIn(std::move(engine));
    if (!recognized) {
        if (error)
            *error = QStringLiteral("Tesseract could not recognise the image");
        return QString();
    }
    if (!m_tuning.readTablesAcross) {
        QStringList texts;
        for (const Line& line : std::as_const(lines))
            texts.append(line.text);
        return texts.join(QLatin1Char('\n'));
    }
    return ReadingOrder::arrange(lines).join(QLatin1Char('\n'));
}
