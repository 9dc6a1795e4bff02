#include "core/capture/DebugLogFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Written only when asked for, privately, and never through a link planted under its name.
TEST(DebugLogFile, AppendsStampedLinesToAPrivateFileOnlyWhenAsked)
{
    const QString path = DebugLogFile::path();
    DebugLogFile::append(QStringLiteral("not asked"));
    EXPECT_FALSE(QFileInfo::exists(path));

    ::setenv("QUILLORA_DEBUG_LOG", "1", 1);
    QTemporaryDir dir;
    QFile victim(dir.filePath(QStringLiteral("victim")));
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.write("precious");
    victim.close();
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(QFile::link(victim.fileName(), path));
    DebugLogFile::append(QStringLiteral("redirected?"));
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), QByteArray("precious"));
    QFile::remove(path);

    DebugLogFile::append(QStringLiteral("📤 first"));
    ::unsetenv("QUILLORA_DEBUG_LOG");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] 📤 first\n$"))
                    .match(QString::fromUtf8(file.readAll()))
                    .hasMatch());
    EXPECT_EQ(file.permissions() & 0077, 0);
}
