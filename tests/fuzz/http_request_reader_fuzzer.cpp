// The request reader fed the same bytes twice: all at once, and in chunks of 1 to 64 bytes cut where the bytes
// themselves say (so that an input always replays the same way). A request that states its length must read the
// same however it arrives; every request read must have a path, and every refusal a 4xx status.
#include "FuzzSupport.h"
#include "core/api/HTTPRequestReader.h"

#include <QDebug>

#include <cstddef>
#include <cstdint>
#include <random>

namespace {

struct Outcome {
    HTTPRequestReader::State state;
    HTTPRequest request;
    HTTPError error;
};

// All at once, or in chunks of 1 to 64 bytes as the transport may read them.
Outcome read(QByteArrayView bytes, bool inChunks)
{
    std::minstd_rand chunks(uint32_t(qHash(bytes)) | 1u);
    HTTPRequestReader reader;
    qsizetype offset = 0;
    while (offset < bytes.size() && reader.state() == HTTPRequestReader::State::Incomplete) {
        const qsizetype length =
            std::min<qsizetype>(inChunks ? 1 + qsizetype(chunks() % 64) : bytes.size(), bytes.size() - offset);
        reader.append(bytes.sliced(offset, length).toByteArray());
        reader.takeContinueRequest(); // as the transport does between reads
        offset += length;
    }
    return {reader.state(), reader.request(), reader.error()};
}

QString describe(const Outcome& outcome)
{
    const HTTPRequest& request = outcome.request;
    QString text;
    QDebug(&text) << int(outcome.state) << outcome.error.status << outcome.error.message << request.method
                  << request.path << request.headers
                  << QString::fromStdString(request.body ? request.body->dump() : std::string("no body"));
    return text;
}

void checkAlone(const Outcome& outcome)
{
    if (outcome.state == HTTPRequestReader::State::Complete) {
        FUZZ_CHECK(!outcome.request.method.isEmpty() && !outcome.request.path.isEmpty(), describe(outcome));
        FUZZ_CHECK(!outcome.request.body || outcome.request.body->is_object(), describe(outcome));
        for (const auto& [name, value] : outcome.request.headers)
            FUZZ_CHECK(name == name.toLower(), describe(outcome));
    }
    if (outcome.state == HTTPRequestReader::State::Failed)
        FUZZ_CHECK(outcome.error.status >= 400 && outcome.error.status < 500, describe(outcome));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Outcome whole = read(bytes, false);
    const Outcome chunked = read(bytes, true);
    checkAlone(whole);
    checkAlone(chunked);
    // Without Content-Length a request is what had arrived with its header block, so only a stated length makes
    // the two comparable.
    if (whole.state == HTTPRequestReader::State::Complete &&
        !whole.request.header(QStringLiteral("content-length")).isNull()) {
        FUZZ_CHECK(describe(chunked) == describe(whole),
                   describe(whole) + QStringLiteral("\n-- in chunks --\n") + describe(chunked));
    }
    return 0;
}
