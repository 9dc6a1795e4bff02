#pragma once

#include "app/AppDelegate.h"
#include "app/PermissionPrompt.h"
#include "capture/OverlayPresenter.h"
#include "history/HistoryManager.h"
#include "platform/fake/FakeDisplayCapture.h"
#include "platform/fake/FakeHotkeyService.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakeTextRecognizer.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "settings/AppSettings.h"

#include <QTemporaryDir>

#include <memory>

// A permission alert that answers as the test says and records how it was asked.
class FakePermissionPrompt : public PermissionPrompt {
public:
    bool ask(Style style) override
    {
        asked.append(style);
        return chooseOpenSettings;
    }
    void openSettings() override { ++settingsOpened; }

    bool chooseOpenSettings = false;
    QList<Style> asked;
    int settingsOpened = 0;
};

// Overlays that only count what they were asked to show.
class CountingOverlayPresenter : public OverlayPresenter {
public:
    void showOverlay(const CapturedImages& images, bool showHint) override
    {
        shownImages.append(int(images.size()));
        hints.append(showHint);
    }
    void hideOverlay() override {}
    QList<SelectionView*> overlayViews() const override { return {}; }

    QList<int> shownImages; // per show, how many monitor images
    QList<bool> hints;
};

// Everything an AppDelegate is given, as fakes, with one or two monitors.
struct ShellFixture {
    explicit ShellFixture(int monitors = 1);
    // Makes the controller; call after presetting the store.
    AppDelegate& make();

    QTemporaryDir historyFolder;
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<HistoryManager> history;
    FakeDisplayCapture displays;
    FakeHotkeyService hotkeys;
    FakeTextRecognizer recognizer;
    FakePasteboard pasteboard;
    FakePermissionPrompt prompt;
    CountingOverlayPresenter* overlays = nullptr; // owned by the delegate
    bool trayAvailable = true;
    int terminations = 0;
    std::unique_ptr<AppDelegate> delegate;
};
