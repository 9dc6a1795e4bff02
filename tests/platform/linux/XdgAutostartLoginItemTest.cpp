#include "platform/linux/XdgAutostartLoginItem.h"

#include "TestEnvironment.h"
#include "core/support/XdgPaths.h"

#include <QFile>

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

    // A user may disable the entry by marking it hidden instead of deleting it.
    ASSERT_TRUE(item.setEnabled(true, &error));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(item.isEnabled());
    EXPECT_TRUE(item.setEnabled(false, &error));
}
