#include "platform/linux/XdgAutostartLoginItem.h"

#include "TestEnvironment.h"
#include "core/support/XdgPaths.h"

#include <QFile>
#include <QProcess>

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
    // The desktop menu's entry, translations included, started by this path and without the menu's actions.
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/My Apps/quillora\"\n")) << entry.constData();
    EXPECT_TRUE(entry.contains("\nIcon=" QUILLORA_APP_ID "\n")) << entry.constData();
    EXPECT_TRUE(entry.contains("\nComment[de]=")) << entry.constData();
    EXPECT_FALSE(entry.contains("Actions=") || entry.contains("[Desktop Action")) << entry.constData();
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(QStringLiteral("desktop-file-validate"), {path});
    ASSERT_TRUE(validate.waitForFinished(10000)) << "desktop-file-validate did not run";
    const QByteArray complaints = validate.readAll();
    EXPECT_TRUE(validate.exitCode() == 0 && complaints.isEmpty()) << complaints.constData();

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
