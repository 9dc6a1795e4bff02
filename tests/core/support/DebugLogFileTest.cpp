#include "core/support/DebugLogFile.h"
#include "core/support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void trace(const QString& line)
{
    qCDebug(lcOverlayTrace).noquote() << line;
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The overlay's trace reaches the file only when asked for, privately, never through a link planted under its
// name, and nothing but the trace goes there.
TEST(DebugLogFile, TraceLinesGoToAPrivateFileOnlyWhenAsked)
{
    const QString path = DebugLogFile::path();
    Log::install();
    trace(QStringLiteral("not asked"));
    EXPECT_FALSE(QFileInfo::exists(path));

    ::setenv("QUILLORA_DEBUG_LOG", "1", 1);
    Log::install();
    QTemporaryDir dir;
    QFile victim(dir.filePath(QStringLiteral("victim")));
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.write("precious");
    victim.close();
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(QFile::link(victim.fileName(), path));
    trace(QStringLiteral("redirected?"));
    EXPECT_EQ(readAll(victim.fileName()), QStringLiteral("precious"));
    QFile::remove(path);

    trace(QStringLiteral("📤 first"));
    qCDebug(lcOverlay).noquote() << QStringLiteral("a system-log line");
    ::unsetenv("QUILLORA_DEBUG_LOG");
    Log::install();
    trace(QStringLiteral("after"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] 📤 first\n$")).match(readAll(path)).hasMatch())
        << readAll(path).toStdString();
    EXPECT_EQ(QFile::permissions(path) & 0077, 0);
    QFile::remove(path);
}
