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
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/My Apps/quillora\"\n")) << entry.constData();
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    file.close();

    ASSERT_TRUE(item.setEnabled(false, &error));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(item.setEnabled(false, &error)) << "disabling twice is not an error";
}

TEST(XdgAutostartLoginItem, HiddenEntryCountsAsDisabledAndFailureIsReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quillora.desktop"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nExec=quillora\nHidden=true\n");
    file.close();
    EXPECT_FALSE(XdgAutostartLoginItem(QStringLiteral("quillora"), path).isEnabled());

    // A folder where the entry's folder should be makes the write fail and leaves a description.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    XdgAutostartLoginItem blocked(QStringLiteral("quillora"), dir.filePath(QStringLiteral("blocked/sub/q.desktop")));
    QString error;
    EXPECT_FALSE(blocked.setEnabled(true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(blocked.isEnabled());
}
