#include "platform/linux/XdgAutostartLoginItem.h"

#include "TestEnvironment.h"
#include "core/support/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

TEST(XdgAutostartLoginItem, WritesAndRemovesTheAutostartEntry)
{
    XdgAutostartLoginItem item(QStringLiteral("/opt/My Apps/quillora"));
    const QString path = XdgPaths::autostartFile();
    ASSERT_TRUE(path.startsWith(TestEnvironment::home()));
    EXPECT_FALSE(item.isEnabled());

    QString error;
    ASSERT_TRUE(item.setEnabled(true, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray entry = file.readAll();
    // The desktop menu's entry, translations included, started by this path and without the menu's actions.
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    for (const char* line : {"\nExec=\"/opt/My Apps/quillora\"\n", "\nIcon=" QUILLORA_APP_ID "\n", "\nComment[de]="})
        EXPECT_TRUE(entry.contains(line)) << line << " in\n" << entry.constData();
    EXPECT_FALSE(entry.contains("Actions=") || entry.contains("[Desktop Action")) << entry.constData();

    ASSERT_TRUE(item.setEnabled(false, &error));
    EXPECT_FALSE(QFile::exists(path));
}

// Builds before the application id wrote autostart/quillora.desktop, which keeps starting the program at login:
// the setting must show it as on, and switching off must stop it. An entry marked hidden starts nothing.
TEST(XdgAutostartLoginItem, HiddenEntriesAndEntriesOfEarlierBuilds)
{
    XdgAutostartLoginItem item(QStringLiteral("/usr/bin/quillora"));
    const QString path = XdgPaths::autostartFile();
    const QString legacy = QFileInfo(path).absolutePath() + QStringLiteral("/quillora.desktop");
    const auto plant = [](const QString& file, const std::optional<QByteArray>& extra) {
        QFile::remove(file);
        if (!extra)
            return;
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[Desktop Entry]\nType=Application\nName=Quillora\nExec=quillora\n" + *extra);
    };
    const QByteArray hidden = "Hidden=true\n";
    const struct {
        const char* name;
        std::optional<QByteArray> newEntry, oldEntry; // the lines after the common ones; none: no file
        bool enabled;
        bool switchOn;
    } cases[] = {
        // Switching on writes the new entry and drops the old one, so the program is not started twice.
        {"old entry alone, switched on", std::nullopt, "", true, true},
        {"old entry alone", std::nullopt, "", true, false},
        {"new entry marked hidden", hidden, std::nullopt, false, false},
        {"old entry marked hidden", std::nullopt, hidden, false, false},
        {"both entries", "", "", true, false},
        {"new entry hidden, old one not", hidden, "", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plant(path, c.newEntry);
        plant(legacy, c.oldEntry);
        EXPECT_EQ(item.isEnabled(), c.enabled);

        QString error;
        ASSERT_TRUE(item.setEnabled(c.switchOn, &error)) << error.toStdString();
        EXPECT_EQ(QFile::exists(path), c.switchOn);
        EXPECT_FALSE(QFile::exists(legacy)) << "the old entry is gone either way";
        EXPECT_EQ(item.isEnabled(), c.switchOn);
    }
}
