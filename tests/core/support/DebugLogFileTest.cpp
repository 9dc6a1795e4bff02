#include "core/support/DebugLogFile.h"
#include "core/support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

static QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The overlay's trace reaches the file only when asked for, privately, never through a link planted under its
// name, and nothing but the trace goes there.
TEST(DebugLogFile, TraceLinesGoToAPrivateFileOnlyWhenAsked)
{
    const QString path = DebugLogFile::path();
    Log::install();
    qCDebug(lcOverlayTrace) << "not asked";
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
    qCDebug(lcOverlayTrace) << "redirected?";
    EXPECT_EQ(readAll(victim.fileName()), QStringLiteral("precious"));
    QFile::remove(path);

    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("📤 first");
    qCDebug(lcOverlay).noquote() << QStringLiteral("a system-log line");
    ::unsetenv("QUILLORA_DEBUG_LOG");
    Log::install();
    qCDebug(lcOverlayTrace) << "after";
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] 📤 first\n$")).match(readAll(path)).hasMatch())
        << readAll(path).toStdString();
    EXPECT_EQ(QFile::permissions(path) & 0x0077, 0) << "group or others may read or write it";
    QFile::remove(path);
}
