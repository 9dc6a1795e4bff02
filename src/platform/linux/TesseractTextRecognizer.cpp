#include "platform/linux/TesseractTextRecognizer.h"

#include "platform/ReadingOrder.h"
#include "platform/RecognitionLanguages.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <omp.h>

namespace {

// More idle engines than cores would only hold memory (about 30 MiB each).
constexpr size_t MaxIdleEngines = 2;

QString joinedCodes(const QStringList& languages)
{
    return languages.join(QLatin1Char('+'));
}

// The text lines found by a layout analysis, with their word counts but no text yet.
QList<ReadingOrder::Line> layoutLines(tesseract::PageIterator* it)
{
    QList<ReadingOrder::Line> lines;
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

} // namespace

class TesseractTextRecognizer::Engine {
public:
    QString languages;
    tesseract::TessBaseAPI api;
};

TesseractTextRecognizer::TesseractTextRecognizer(const QString& dataPath, const QStringList& languages)
    : TesseractTextRecognizer(dataPath, languages, Tuning{})
{}

TesseractTextRecognizer::TesseractTextRecognizer(const QString& dataPath, const QStringList& languages,
                                                 const Tuning& tuning)
    : m_dataPath(dataPath)
    , m_tuning(tuning)
    , m_preparer(tuning.steps)
    , m_languages(languages)
{}

TesseractTextRecognizer::~TesseractTextRecognizer() = default;

void TesseractTextRecognizer::limitThreadsOfCallingThread()
{
    // OpenMP settings belong to the thread; environment variables read at start-up come too late for a
    // library loaded with the program, so each thread that runs Tesseract sets its own once.
    thread_local bool limited = false;
    if (limited)
        return;
    omp_set_dynamic(1);
    omp_set_num_threads(1);
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
        std::lock_guard lock(m_mutex);
        wanted = joinedCodes(m_languages);
        if (!m_idle.empty()) {
            std::unique_ptr<Engine> engine = std::move(m_idle.back());
            m_idle.pop_back();
            return engine;
        }
    }
    if (wanted.isEmpty()) {
        if (error)
            *error = QStringLiteral("no trained data for German or English in %1").arg(m_dataPath);
        return nullptr;
    }
    auto engine = std::make_unique<Engine>();
    engine->languages = wanted;
    // Tesseract reads its data path with the trailing separator it expects.
    const QByteArray path = QFile::encodeName(QDir(m_dataPath).absolutePath() + QLatin1Char('/'));
    if (engine->api.Init(path.constData(), wanted.toUtf8().constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        if (error)
            *error = QStringLiteral("Tesseract could not load the languages %1 from %2").arg(wanted, m_dataPath);
        return nullptr;
    }
    // Its diagnostics ("Estimating resolution as ...") are not for our users' terminals.
    engine->api.SetVariable("debug_file", "/dev/null");
    engine->api.SetVariable("tessedit_do_invert", m_tuning.retryInvertedLines ? "1" : "0");
    return engine;
}

void TesseractTextRecognizer::checkIn(std::unique_ptr<Engine> engine)
{
    engine->api.Clear();
    std::lock_guard lock(m_mutex);
    if (engine->languages == joinedCodes(m_languages) && m_idle.size() < MaxIdleEngines)
        m_idle.push_back(std::move(engine));
}

bool TesseractTextRecognizer::warmUp(QString* error)
{
    limitThreadsOfCallingThread();
    std::unique_ptr<Engine> engine = checkOut(error);
    if (!engine)
        return false;
    checkIn(std::move(engine));
    return true;
}

QString TesseractTextRecognizer::recognize(const QImage& image, QString* error)
{
    if (image.isNull() || image.width() < 1 || image.height() < 1) {
        if (error)
            *error = QStringLiteral("the image is empty");
        return QString();
    }
    const QImage prepared = m_preparer.prepare(image);
    if (prepared.isNull())
        return QString(); // one colour throughout: nothing to read

    limitThreadsOfCallingThread();
    std::unique_ptr<Engine> engine = checkOut(error);
    if (!engine)
        return QString();

    tesseract::TessBaseAPI& api = engine->api;
    const auto setImage = [&] {
        api.SetImage(prepared.constBits(), prepared.width(), prepared.height(), 1, int(prepared.bytesPerLine()));
        api.SetSourceResolution(m_tuning.sourceResolution);
    };
    setImage();
    if (m_tuning.pageSegMode >= 0) {
        api.SetPageSegMode(tesseract::PageSegMode(m_tuning.pageSegMode));
    } else {
        // Reading the crop as one block keeps table rows and code lines whole, and keeps the small cells
        // that the full layout analysis drops as noise; but it reads across columns of running text, which
        // only the layout analysis separates. A layout analysis alone is cheap next to recognition.
        // Columns stand apart by a gap running through the text: without one the analysis is skipped.
        api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
        if (ScreenTextPreparer::hasColumnGap(prepared)) {
            api.SetPageSegMode(tesseract::PSM_AUTO);
            bool columns = false;
            {
                const std::unique_ptr<tesseract::PageIterator> layout(api.AnalyseLayout());
                columns = ReadingOrder::hasColumnsOfRunningText(layoutLines(layout.get()));
            }
            if (!columns) {
                api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
                setImage(); // drops the blocks found, which Recognize() would otherwise reuse
            }
        }
    }
    if (api.Recognize(nullptr) != 0) {
        if (error)
            *error = QStringLiteral("Tesseract could not recognise the image");
        checkIn(std::move(engine));
        return QString();
    }

    QList<ReadingOrder::Line> lines;
    const std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (it && !it->Empty(tesseract::RIL_TEXTLINE)) {
        int block = 0;
        do {
            if (it->IsAtBeginningOf(tesseract::RIL_BLOCK))
                ++block;
            const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!text)
                continue;
            // Each line comes with its own line feed (and a paragraph's last one with two).
            const QString line = QString::fromUtf8(text.get()).trimmed();
            int left = 0, top = 0, right = 0, bottom = 0;
            it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
            if (!line.isEmpty())
                lines.append({line, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), block,
                              int(line.split(QLatin1Char(' '), Qt::SkipEmptyParts).size())});
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    checkIn(std::move(engine));
    if (!m_tuning.readTablesAcross) {
        QStringList texts;
        for (const ReadingOrder::Line& line : std::as_const(lines))
            texts.append(line.text);
        return texts.join(QLatin1Char('\n'));
    }
    return ReadingOrder::arrange(lines).join(QLatin1Char('\n'));
}
