#include "platform/linux/XdgAutostartLoginItem.h"

#include "TestEnvironment.h"
#include "platform/XdgPaths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(XdgAutostartLoginItem, WritesAndRemovesTheAutostartEntry)
{
    XdgAutostartLoginItem item(QStringLiteral("/opt/My Apps/quillora"));
    const QString path = XdgPaths::autostartFile();
    ASSERT_TRUE(path.startsWith(TestEnvironment::home()));
    EXPECT_FALSE(item.isEnabled());

    QString error;
    ASSERT_TRUE(item.setEnabled(true, &error)) << error.toStdString();
    EXPECT_TRUE(item.isEnabled());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray entry = file.readAll();
    file.close();
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/My Apps/quillora\"\n")) << entry.constData();

    ASSERT_TRUE(item.setEnabled(false, &error));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(item.setEnabled(false, &error)) << "disabling twice is not an error";

    // A user may disable the entry by marking it hidden instead of deleting it.
    ASSERT_TRUE(item.setEnabled(true, &error));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(item.isEnabled());
    EXPECT_TRUE(item.setEnabled(false, &error));
}

TEST(XdgAutostartLoginItem, FailureIsReported)
{
    // A file where the entry's folder should be makes the write fail and leaves a description.
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    XdgAutostartLoginItem blocked(QStringLiteral("quillora"), dir.filePath(QStringLiteral("blocked/sub/q.desktop")));
    QString error;
    EXPECT_FALSE(blocked.setEnabled(true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(blocked.isEnabled());
}
