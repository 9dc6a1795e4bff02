#include "widgets/shell/OnboardingWindowController.h"

#include "core/settings/AppSettings.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/common/WindowStyle.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QWidget* page(const QString& heading, const QList<QWidget*>& parts, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(WindowStyle::Spacing);
    layout->addWidget(WindowStyle::heading(heading, widget));
    for (QWidget* part : parts) {
        part->setParent(widget);
        layout->addWidget(part);
    }
    layout->addStretch(1);
    return widget;
}

QLabel* hotkeyBadge(const OnboardingWindowController::Hotkey& hotkey)
{
    auto* badge = new QLabel;
    badge->setObjectName(QStringLiteral("hotkeyBadge"));
    badge->setTextFormat(Qt::RichText);
    badge->setAlignment(Qt::AlignCenter);
    badge->setText(QStringLiteral("<span style=\"font-size:20pt; font-weight:600;\">%1</span>")
                       .arg(hotkey.desktopText.toHtmlEscaped()));
    badge->setStyleSheet(QStringLiteral("QLabel#hotkeyBadge { background: palette(alternate-base); "
                                        "border: 1px solid palette(mid); border-radius: 10px; padding: 14px; }"));
    badge->setAccessibleName(hotkey.desktopText);
    return badge;
}

} // namespace

OnboardingWindowController::OnboardingWindowController(AppSettings& settings, Hotkey hotkey, bool trayAvailable,
                                                       std::function<void()> completion)
    : m_settings(settings)
    , m_completion(std::move(completion))
    , m_window(std::make_unique<EscClosableWindow>())
{
    EscClosableWindow* window = m_window.get();
    //% "Quillora Quick Start"
    window->setWindowTitle(qtTrId("onboarding.title"));
    window->setObjectName(QStringLiteral("onboardingWindow"));

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(WindowStyle::Margin, WindowStyle::Margin, WindowStyle::Margin, WindowStyle::Margin);
    layout->setSpacing(WindowStyle::Spacing);
    layout->addWidget(WindowStyle::icon(48, window));

    m_pages = new QStackedWidget(window);
    //% "Press %1 anywhere. Every screen freezes; drag a rectangle around the text you want to copy. "
    //% "Escape cancels."
    QString captureText = qtTrId("onboarding.capture.body").arg(hotkey.desktopText.toHtmlEscaped());
    if (!hotkey.registered) {
        //% "This desktop gives Quillora no hotkey of its own: bind the command <code>quillora --capture</code> "
        //% "to %1 or another shortcut in your desktop's keyboard settings. Every screen freezes; drag a rectangle "
        //% "around the text you want to copy. Escape cancels."
        captureText = qtTrId("onboarding.capture.nohotkey").arg(hotkey.desktopText.toHtmlEscaped());
    }
    if (trayAvailable) {
        //% "You can also choose <b>Capture Text</b> in the Quillora menu of the system tray."
        captureText += QStringLiteral("<br><br>") + qtTrId("onboarding.capture.tray");
    } else {
        //% "No system tray was found, so Quillora shows no icon. Use the hotkey, or bind the command "
        //% "<code>quillora --capture</code> to a shortcut in your desktop's keyboard settings."
        captureText += QStringLiteral("<br><br>") + qtTrId("onboarding.capture.notray");
    }
    m_pages->addWidget(page(
        //% "Capture text anywhere"
        qtTrId("onboarding.capture.heading"), {hotkeyBadge(hotkey), WindowStyle::body(captureText, nullptr)}, m_pages));
    m_pages->addWidget(page(
        //% "Check, correct, paste"
        qtTrId("onboarding.edit.heading"),
        //% "Quillora recognises the text on your computer and shows it in a small editor. Correct it if needed "
        //% "and press <b>Save</b> (Ctrl+S): the text is on the clipboard, ready to paste.<br><br>"
        //% "Your captures are kept in the history. Push the pointer against the right edge of the screen to open "
        //% "it, copy an earlier text again or look at the screenshot it came from."
        {WindowStyle::body(qtTrId("onboarding.edit.body"), nullptr)}, m_pages));
    //% "Open Quillora when I log in"
    m_launchAtLogin = new QCheckBox(qtTrId("onboarding.launchAtLogin"));
    m_launchAtLogin->setChecked(m_settings.launchAtLogin());
    m_pages->addWidget(page(
        //% "You're ready"
        qtTrId("onboarding.finish.heading"),
        //% "The hotkey, text clean-up, the history and the local HTTP API (off by default) can be changed in "
        //% "<b>Preferences</b>. This quick start stays available in the menu under Legal &amp; Info."
        {WindowStyle::body(qtTrId("onboarding.finish.body"), nullptr), m_launchAtLogin}, m_pages));
    layout->addWidget(m_pages, 1);

    auto* buttons = new QHBoxLayout;
    //% "Back"
    m_backButton = new QPushButton(qtTrId("onboarding.back"), window);
    m_nextButton = new QPushButton(window);
    m_nextButton->setDefault(true);
    buttons->addWidget(m_backButton);
    buttons->addStretch(1);
    buttons->addWidget(m_nextButton);
    layout->addLayout(buttons);

    fitToContent();

    connect(m_backButton, &QPushButton::clicked, this, &OnboardingWindowController::goBack);
    connect(m_nextButton, &QPushButton::clicked, this, &OnboardingWindowController::goForward);
    updateButtons();
    WindowStyle::centerOnScreen(window);
}

OnboardingWindowController::~OnboardingWindowController() = default;

void OnboardingWindowController::fitToContent()
{
    // As tall as the tallest page needs at this width, with the fonts and style the window is shown with: a fixed
    // size leaves the shorter pages mostly empty (and cuts text off with larger fonts). The height stays the same
    // from page to page, so that the buttons do not move under the pointer while the person clicks through.
    m_window->ensurePolished();
    const int height = m_window->layout()->totalHeightForWidth(Width);
    m_window->setMinimumSize(Width, height);
    m_window->resize(Width, height);
}

void OnboardingWindowController::showWindow()
{
    WindowStyle::bringToFront(m_window.get());
    m_nextButton->setFocus();
}

void OnboardingWindowController::goBack()
{
    m_pages->setCurrentIndex(qMax(0, m_pages->currentIndex() - 1));
    updateButtons();
}

void OnboardingWindowController::goForward()
{
    if (m_pages->currentIndex() + 1 >= m_pages->count()) {
        finish();
        return;
    }
    m_pages->setCurrentIndex(m_pages->currentIndex() + 1);
    updateButtons();
}

void OnboardingWindowController::updateButtons()
{
    const bool last = m_pages->currentIndex() + 1 >= m_pages->count();
    m_backButton->setEnabled(m_pages->currentIndex() > 0);
    if (last) {
        //% "Get Started"
        m_nextButton->setText(qtTrId("onboarding.finish"));
    } else {
        //% "Next"
        m_nextButton->setText(qtTrId("onboarding.next"));
    }
}

void OnboardingWindowController::finish()
{
    m_settings.setLaunchAtLogin(m_launchAtLogin->isChecked());
    m_settings.setHasCompletedOnboarding();
    m_window->close();
    // The completion may drop this controller; nothing is touched after it.
    if (auto completion = std::move(m_completion))
        completion();
}
