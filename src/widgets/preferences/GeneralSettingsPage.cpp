#include "widgets/preferences/GeneralSettingsPage.h"

#include "core/platform/HotkeyService.h"
#include "core/settings/AppSettings.h"
#include "core/shell/HotkeyText.h"
#include "widgets/preferences/HotkeyRecorderView.h"
#include "widgets/preferences/PreferencesDelegate.h"
#include "widgets/preferences/SettingsSection.h"
#include "widgets/preferences/SettingsToggle.h"
#include "widgets/preferences/ToggleSwitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr quint32 DefaultKeyCode = 26;    // the 7 key
constexpr quint32 DefaultModifiers = 768; // Ctrl+Shift

} // namespace

GeneralSettingsPage::GeneralSettingsPage(AppSettings& settings, PreferencesDelegate& delegate, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_delegate(delegate)
{
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(18);

    //% "Capture Hotkey"
    auto* hotkey = new SettingsSection(qtTrId("prefs.hotkey.title"), this);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    //% "Hotkey:"
    auto* label = new QLabel(qtTrId("prefs.hotkey.label"), hotkey);
    row->addWidget(label);
    m_hotkeyStack = new QStackedWidget(hotkey);
    m_hotkeyButton = new QPushButton(m_hotkeyStack);
    m_hotkeyButton->setObjectName(QStringLiteral("hotkeyButton"));
    m_hotkeyButton->setMinimumWidth(120);
    m_recorder = new HotkeyRecorderView(
        [&delegate](quint32 scanCode, quint32 state) { return delegate.keyCodeOfKey(scanCode, state); }, m_hotkeyStack);
    m_hotkeyStack->addWidget(m_hotkeyButton);
    m_hotkeyStack->addWidget(m_recorder);
    m_hotkeyStack->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    row->addWidget(m_hotkeyStack);
    //% "Reset"
    m_resetButton = new QPushButton(qtTrId("prefs.hotkey.reset"), hotkey);
    row->addWidget(m_resetButton);
    row->addStretch(1);
    hotkey->addLayout(row);
    m_hotkeyMessage = new QLabel(hotkey);
    m_hotkeyMessage->setObjectName(QStringLiteral("hotkeyMessage"));
    m_hotkeyMessage->setWordWrap(true);
    m_hotkeyMessage->setStyleSheet(QStringLiteral("QLabel#hotkeyMessage { color: #c0392b; }"));
    m_hotkeyMessage->hide();
    hotkey->addWidget(m_hotkeyMessage);
    //% "Click the hotkey and press the new combination. It needs Ctrl or Super; Escape cancels."
    hotkey->addWidget(SettingsSection::caption(qtTrId("prefs.hotkey.hint"), hotkey));
    layout->addWidget(hotkey);

    //% "Capture"
    auto* capture = new SettingsSection(qtTrId("prefs.capture.title"), this);
    m_shadows = new SettingsToggle(
        //% "Include window shadows"
        qtTrId("prefs.capture.shadows"),
        //% "Has no effect on X11: windows there have no shadows of their own in the screen image."
        qtTrId("prefs.capture.shadows.help"), capture);
    //% "Show instructions on the capture screen"
    m_captureHint = new SettingsToggle(qtTrId("prefs.capture.hint"), QString(), capture);
    capture->addWidget(m_shadows);
    capture->addWidget(m_captureHint);
    layout->addWidget(capture);

    //% "Startup"
    auto* startup = new SettingsSection(qtTrId("prefs.startup.title"), this);
    //% "Open Quillora at login"
    m_launchAtLogin = new SettingsToggle(qtTrId("prefs.startup.launch"), QString(), startup);
    startup->addWidget(m_launchAtLogin);
    layout->addWidget(startup);
    layout->addStretch(1);

    setTabOrder(m_hotkeyButton, m_resetButton);
    setTabOrder(m_resetButton, m_shadows->toggleSwitch());
    setTabOrder(m_shadows->toggleSwitch(), m_captureHint->toggleSwitch());
    setTabOrder(m_captureHint->toggleSwitch(), m_launchAtLogin->toggleSwitch());

    connect(m_hotkeyButton, &QPushButton::clicked, this, &GeneralSettingsPage::startRecording);
    connect(m_recorder, &HotkeyRecorderView::hotkeyRecorded, this, &GeneralSettingsPage::storeHotkey);
    connect(m_recorder, &HotkeyRecorderView::cancelled, this, &GeneralSettingsPage::finishRecording);
    connect(m_recorder, &HotkeyRecorderView::refused, this, &GeneralSettingsPage::showRefusal);
    connect(m_resetButton, &QPushButton::clicked, this, [this] {
        cancelRecording();
        storeHotkey(DefaultKeyCode, DefaultModifiers);
    });
    connect(m_shadows, &SettingsToggle::toggled, &m_settings, &AppSettings::setCaptureWindowShadows);
    connect(m_captureHint, &SettingsToggle::toggled, &m_settings, &AppSettings::setShowCaptureHint);
    // A failed change is only logged; the switch keeps the person's choice until the page is shown again.
    connect(m_launchAtLogin, &SettingsToggle::toggled, &m_settings, &AppSettings::setLaunchAtLogin);

    reload();
    reloadLaunchAtLogin();
}

void GeneralSettingsPage::reload()
{
    m_shadows->setChecked(m_settings.captureWindowShadows());
    m_captureHint->setChecked(m_settings.showCaptureHint());
    updateHotkey();
}

void GeneralSettingsPage::reloadLaunchAtLogin()
{
    m_launchAtLogin->setChecked(m_settings.launchAtLogin());
}

void GeneralSettingsPage::showEvent(QShowEvent* event)
{
    reloadLaunchAtLogin();
    QWidget::showEvent(event);
}

void GeneralSettingsPage::hideEvent(QHideEvent* event)
{
    // Another page, or the window closed: the hotkey must not stay released.
    cancelRecording();
    QWidget::hideEvent(event);
}

void GeneralSettingsPage::startRecording()
{
    if (m_recorder->isRecording())
        return;
    m_delegate.suspendHotkey();
    m_hotkeyMessage->hide();
    // Listening before it is shown: the stack hands it the focus of the button it replaces.
    m_recorder->setRecording(true);
    m_hotkeyStack->setCurrentWidget(m_recorder);
}

void GeneralSettingsPage::cancelRecording()
{
    if (!m_recorder->isRecording())
        return;
    m_recorder->setRecording(false);
    finishRecording();
}

void GeneralSettingsPage::storeHotkey(quint32 keyCode, quint32 modifiers)
{
    m_settings.setHotkeyKeyCode(keyCode);
    m_settings.setHotkeyModifiers(modifiers);
    finishRecording();
}

void GeneralSettingsPage::finishRecording()
{
    // After Escape or a recorded hotkey the keyboard stays at the hotkey; after a click elsewhere it stays there.
    const bool recorderHadFocus = m_recorder->hasFocus();
    m_hotkeyStack->setCurrentWidget(m_hotkeyButton);
    if (recorderHadFocus)
        m_hotkeyButton->setFocus(Qt::OtherFocusReason);
    m_delegate.registerHotkey();
    m_delegate.updateCaptureMenuItem();
    updateHotkey();
}

void GeneralSettingsPage::showRefusal(HotkeyRecording::Outcome reason)
{
    if (reason == HotkeyRecording::Outcome::UnknownKey) {
        //% "This key cannot be part of a hotkey. Choose a letter, digit, punctuation or function key."
        m_hotkeyMessage->setText(qtTrId("prefs.hotkey.unknownKey"));
    } else {
        //% "Hold Ctrl or Super together with the key."
        m_hotkeyMessage->setText(qtTrId("prefs.hotkey.needsModifier"));
    }
    m_hotkeyMessage->show();
}

void GeneralSettingsPage::updateHotkey()
{
    const QString text = HotkeyText::desktopString(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers());
    m_hotkeyButton->setText(text);
    m_hotkeyButton->setAccessibleName(qtTrId("prefs.hotkey.label") + QLatin1Char(' ') + text);
    if (m_recorder->isRecording())
        return;
    const int status = m_delegate.hotkeyStatus();
    if (status == 0) {
        m_hotkeyMessage->hide();
        return;
    }
    if (status == HotkeyService::HeldByAnotherClient) {
        //% "%1 is used by another program. Choose another combination."
        m_hotkeyMessage->setText(qtTrId("prefs.hotkey.conflict").arg(text));
    } else {
        //% "%1 cannot be used as the hotkey on this desktop. Bind “quillora --capture” to a shortcut in the "
        //% "desktop's keyboard settings instead."
        m_hotkeyMessage->setText(qtTrId("prefs.hotkey.unavailable").arg(text));
    }
    m_hotkeyMessage->show();
}
