#include "widgets/shell/LegalInfoWindowController.h"

#include "widgets/common/EscClosableWindow.h"
#include "widgets/common/WindowStyle.h"

#include <QTextBrowser>
#include <QVBoxLayout>

LegalInfoWindowController::LegalInfoWindowController(int kind)
    : m_kind(kind >= Impressum && kind <= Accessibility ? kind : Impressum)
    , m_window(std::make_unique<EscClosableWindow>())
{
    m_window->setWindowTitle(title(m_kind));
    m_window->setObjectName(QStringLiteral("legalInfoWindow"));
    m_window->resize(520, 500);
    m_window->setMinimumSize(400, 300);

    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new QTextBrowser(m_window.get());
    text->setObjectName(QStringLiteral("legalText"));
    text->setOpenExternalLinks(true);
    text->setFrameShape(QFrame::NoFrame);
    text->document()->setDocumentMargin(WindowStyle::DocumentMargin);
    text->setHtml(content(m_kind));
    layout->addWidget(text);
    WindowStyle::centerOnScreen(m_window.get());
}

LegalInfoWindowController::~LegalInfoWindowController() = default;

void LegalInfoWindowController::showWindow()
{
    WindowStyle::bringToFront(m_window.get());
}

QString LegalInfoWindowController::title(int kind)
{
    switch (kind) {
    case Terms:
        //% "Terms of Use"
        return qtTrId("menu.terms");
    case Privacy:
        //% "Privacy"
        return qtTrId("menu.privacy");
    case Accessibility:
        //% "Accessibility"
        return qtTrId("menu.accessibility");
    default:
        //% "Imprint"
        return qtTrId("menu.impressum");
    }
}

QString LegalInfoWindowController::content(int kind)
{
    switch (kind) {
    case Terms:
        //% "<h2>Terms of Use</h2>"
        //% "<p>Quillora is free and open-source software, published by the Quillora contributors under the MIT "
        //% "License. By using it you accept these terms.</p>"
        //% "<h3>1. What you may do</h3>"
        //% "<p>You may use, copy, modify, merge, publish, distribute, sublicense and sell copies of Quillora, "
        //% "provided that the copyright notice and the license text are included in all copies or substantial "
        //% "portions of the software. The full license is shown in the About window.</p>"
        //% "<h3>2. No warranty</h3>"
        //% "<p>Quillora is provided “as is”, without warranty of any kind, express or implied, including the "
        //% "warranties of merchantability, fitness for a particular purpose and non-infringement. In no event "
        //% "shall the authors or copyright holders be liable for any claim, damages or other liability arising "
        //% "from the software or its use.</p>"
        //% "<h3>3. Check what was recognised</h3>"
        //% "<p>Text recognition can make mistakes: letters may be confused, lines merged or left out. Check "
        //% "recognised text before you rely on it, especially numbers, names, amounts and passwords.</p>"
        //% "<h3>4. Your responsibility</h3>"
        //% "<p>Capture only what you are allowed to copy. Respect the copyright of others and the "
        //% "confidentiality of what other people show you or send you.</p>"
        //% "<h3>5. Everything stays on your computer</h3>"
        //% "<p>Quillora processes your screen on your own computer. What it stores, and where, is described in "
        //% "the privacy notice.</p>"
        return qtTrId("legal.terms.content");
    case Privacy:
        //% "<h2>Privacy</h2>"
        //% "<p>Quillora works entirely on your computer. It has no account, sends no usage statistics, loads nothing "
        //% "from the internet and makes no network connection of its own. The screen images and the recognised text "
        //% "never leave your computer unless you paste or send them somewhere yourself.</p>"
        //% "<h3>What is stored, and where</h3>"
        //% "<ul>"
        //% "<li><b>Settings</b> – <code>~/.config/Quillora/settings.json</code> (or under "
        //% "<code>$XDG_CONFIG_HOME</code>): your preferences, the hotkey, the HTTP API settings and token, and the "
        //% "date you accepted the terms.</li>"
        //% "<li><b>History</b> – <code>~/.local/share/Quillora/history.json</code> (or under "
        //% "<code>$XDG_DATA_HOME</code>): the text of each saved capture and of each text you add yourself, its time "
        //% "and, for a capture, the name of the monitor. By default the last 50 entries are kept for 30 days. You can "
        //% "delete single entries or the whole history, and switch the history off in the preferences.</li>"
        //% "<li><b>Screenshots</b> – <code>~/.local/share/Quillora/Screenshots/</code>: a picture of the whole "
        //% "monitor for each saved capture, so you can see where a text came from. It is deleted together with its "
        //% "entry. With the history off, no screenshot is kept.</li>"
        //% "<li><b>Open at login</b> – <code>~/.config/autostart/org.quillora.Quillora.desktop</code>, only while "
        //% "that option is on.</li>"
        //% "<li><b>Selection trace</b> – <code>~/.local/state/Quillora/quillora-debug.log</code> (or under "
        //% "<code>$XDG_STATE_HOME</code>), only when Quillora is started with the environment variable "
        //% "<code>QUILLORA_DEBUG_LOG</code> set, for tracking down problems with selecting: positions and sizes of "
        //% "the selection and the state of the capture windows, never captured text or pictures.</li>"
        //% "</ul>"
        //% "<p>These files can be read by your user account only. Quillora also writes messages about its own "
        //% "operation to its standard output and to the system log (<code>journalctl -t quillora</code>); the system "
        //% "log receives the first 100 characters of each recognised text. Start Quillora with "
        //% "<code>QT_LOGGING_RULES=quillora.capture.debug=false</code> to leave them out.</p>"
        //% "<h3>The clipboard</h3>"
        //% "<p>When you save a capture, its text is put on the clipboard and, unless you switch this off, into the "
        //% "selection that a middle click pastes. Every program of your desktop session can read it there, as with "
        //% "anything you copy. When Quillora quits, the clipboard manager of your desktop, if one runs, keeps the "
        //% "text on the clipboard.</p>"
        //% "<h3>The local HTTP API</h3>"
        //% "<p>Quillora can be controlled by scripts through an HTTP API. It is <b>off by default</b>. Switched on "
        //% "without an access token, it listens on port 9876 (or the port you choose) at this computer's loopback "
        //% "addresses only (<code>127.0.0.1</code> and <code>::1</code>) and answers only programs running on this "
        //% "computer; requests from web pages of other sites are refused. Only when you set an access token in the "
        //% "preferences does it listen on every network interface, and then it answers only requests that carry the "
        //% "token. Whoever can use it can read and change your history and settings, start captures, take pictures of "
        //% "your screen and type and click on your behalf: keep the token secret, and block the port in your firewall "
        //% "if others share your network.</p>"
        return qtTrId("legal.privacy.content");
    case Accessibility:
        //% "<h2>Accessibility</h2>"
        //% "<p>Quillora should be usable by everyone. This is what it offers today, and where its limits "
        //% "are.</p>"
        //% "<h3>Keyboard</h3>"
        //% "<ul>"
        //% "<li>A capture starts with the hotkey (Ctrl+Shift+7 unless you change it in the preferences).</li>"
        //% "<li>Where a global hotkey is not possible, bind the command <code>quillora --capture</code> to a "
        //% "shortcut of your desktop.</li>"
        //% "<li>Every window can be used with the keyboard: Tab moves between controls, Escape closes "
        //% "information windows and cancels a capture, Ctrl+S saves the text in the editor.</li>"
        //% "</ul>"
        //% "<h3>Screen readers and display</h3>"
        //% "<ul>"
        //% "<li>The tray icon and the controls carry names for screen readers (through the desktop's "
        //% "accessibility bus, AT-SPI).</li>"
        //% "<li>Fonts, text size and colours follow your desktop's settings and theme.</li>"
        //% "<li>Recognised text is plain text: after saving you can paste it into any program, including "
        //% "ones that read text aloud or enlarge it.</li>"
        //% "</ul>"
        //% "<h3>Known limits</h3>"
        //% "<p>Choosing the area to capture needs a pointing device (mouse, touchpad, pen or trackball). "
        //% "If something keeps you from using Quillora, please tell us through the project's issue tracker so "
        //% "that we can fix it.</p>"
        return qtTrId("legal.accessibility.content");
    default:
        //% "<h2>Imprint</h2>"
        //% "<p><b>Quillora</b> – screen text capture for the Linux desktop.</p>"
        //% "<p>Quillora is free and open-source software, developed and published by the Quillora "
        //% "contributors under the MIT License. It is not sold, carries no advertising and collects no data.</p>"
        //% "<h3>Contact</h3>"
        //% "<p>Questions, bug reports and suggestions are welcome in the project's public issue tracker, where "
        //% "the maintainers answer them in the open. Please do not attach screenshots that show personal or "
        //% "confidential information.</p>"
        //% "<h3>Responsibility for content</h3>"
        //% "<p>Quillora only shows text that you captured from your own screen. You are responsible for what "
        //% "you capture and for where you paste it.</p>"
        return qtTrId("legal.impressum.content");
    }
}
