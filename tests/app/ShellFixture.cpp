#include "ShellFixture.h"

#include "app/Localization.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QLocale>

ShellFixture::ShellFixture(int monitors)
{
    // The tests read the English texts, whatever the machine's locale.
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
    for (int i = 0; i < monitors; ++i) {
        const Monitor display{quint32(i + 1), QStringLiteral("MON-%1").arg(i + 1), QRect(i * 800, 0, 800, 600)};
        QImage still(display.pixelSize(), QImage::Format_ARGB32);
        still.fill(Qt::white);
        displays.addDisplay(display, still);
    }
}

AppDelegate& ShellFixture::make()
{
    settings = std::make_unique<AppSettings>(store, loginItem);
    history = std::make_unique<HistoryManager>(*settings, historyFolder.path());
    auto presenter = std::make_unique<CountingOverlayPresenter>();
    overlays = presenter.get();
    delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
        .settings = *settings,
        .history = *history,
        .displayCapture = displays,
        .hotkeyService = hotkeys,
        .textRecognizer = recognizer,
        .pasteboard = pasteboard,
        .permissionPrompt = prompt,
        .terminate = [this] { ++terminations; },
        .isSystemTrayAvailable = [this] { return trayAvailable; },
        .overlayPresenter = std::move(presenter),
    });
    return *delegate;
}
