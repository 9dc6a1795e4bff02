<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name />
    <message id="about.library.qt">
        <source>user interface, images, networking</source>
        <translation>user interface, images, networking</translation>
    </message>
    <message id="about.library.tesseract">
        <source>text recognition</source>
        <translation>text recognition</translation>
    </message>
    <message id="about.library.leptonica">
        <source>image handling for text recognition</source>
        <translation>image handling for text recognition</translation>
    </message>
    <message id="about.library.json">
        <source>settings and history files, HTTP API</source>
        <translation>settings and history files, HTTP API</translation>
    </message>
    <message id="about.library.xcb">
        <source>screen capture and global hotkey</source>
        <translation>screen capture and global hotkey</translation>
    </message>
    <message id="about.title">
        <source>About Quillora</source>
        <translation>About Quillora</translation>
    </message>
    <message id="about.version">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="about.tagline">
        <source>Copies text from anywhere on your screen. Recognition runs on your computer; nothing leaves it.</source>
        <translation>Copies text from anywhere on your screen. Recognition runs on your computer; nothing leaves it.</translation>
    </message>
    <message id="about.license">
        <source>Quillora is free and open-source software under the MIT License.</source>
        <translation>Quillora is free and open-source software under the MIT License.</translation>
    </message>
    <message id="about.libraries.heading">
        <source>Built with</source>
        <translation>Built with</translation>
    </message>
    <message id="about.copyright">
        <source>© the Quillora contributors</source>
        <translation>© the Quillora contributors</translation>
    </message>
    <message id="legal.acceptance.title">
        <source>Welcome to Quillora</source>
        <translation>Welcome to Quillora</translation>
    </message>
    <message id="legal.acceptance.intro">
        <source>Quillora copies text from anywhere on your screen, and does all of its work on your computer. Before you start, please read the terms of use and the privacy notice below.</source>
        <translation>Quillora copies text from anywhere on your screen, and does all of its work on your computer. Before you start, please read the terms of use and the privacy notice below.</translation>
    </message>
    <message id="legal.acceptance.decline">
        <source>Decline and Quit</source>
        <translation>Decline and Quit</translation>
    </message>
    <message id="legal.acceptance.accept">
        <source>Accept</source>
        <translation>Accept</translation>
    </message>
    <message id="menu.terms">
        <source>Terms of Use</source>
        <translation>Terms of Use</translation>
    </message>
    <message id="menu.privacy">
        <source>Privacy</source>
        <translation>Privacy</translation>
    </message>
    <message id="menu.accessibility">
        <source>Accessibility</source>
        <translation>Accessibility</translation>
    </message>
    <message id="menu.impressum">
        <source>Imprint</source>
        <translation>Imprint</translation>
    </message>
    <message id="legal.terms.content">
        <source>&lt;h2&gt;Terms of Use&lt;/h2&gt;&lt;p&gt;Quillora is free and open-source software, published by the Quillora contributors under the MIT License. By using it you accept these terms.&lt;/p&gt;&lt;h3&gt;1. What you may do&lt;/h3&gt;&lt;p&gt;You may use, copy, modify, merge, publish, distribute, sublicense and sell copies of Quillora, provided that the copyright notice and the license text are included in all copies or substantial portions of the software. The full license is shown in the About window.&lt;/p&gt;&lt;h3&gt;2. No warranty&lt;/h3&gt;&lt;p&gt;Quillora is provided “as is”, without warranty of any kind, express or implied, including the warranties of merchantability, fitness for a particular purpose and non-infringement. In no event shall the authors or copyright holders be liable for any claim, damages or other liability arising from the software or its use.&lt;/p&gt;&lt;h3&gt;3. Check what was recognised&lt;/h3&gt;&lt;p&gt;Text recognition can make mistakes: letters may be confused, lines merged or left out. Check recognised text before you rely on it, especially numbers, names, amounts and passwords.&lt;/p&gt;&lt;h3&gt;4. Your responsibility&lt;/h3&gt;&lt;p&gt;Capture only what you are allowed to copy. Respect the copyright of others and the confidentiality of what other people show you or send you.&lt;/p&gt;&lt;h3&gt;5. Everything stays on your computer&lt;/h3&gt;&lt;p&gt;Quillora processes your screen on your own computer. What it stores, and where, is described in the privacy notice.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Terms of Use&lt;/h2&gt;&lt;p&gt;Quillora is free and open-source software, published by the Quillora contributors under the MIT License. By using it you accept these terms.&lt;/p&gt;&lt;h3&gt;1. What you may do&lt;/h3&gt;&lt;p&gt;You may use, copy, modify, merge, publish, distribute, sublicense and sell copies of Quillora, provided that the copyright notice and the license text are included in all copies or substantial portions of the software. The full license is shown in the About window.&lt;/p&gt;&lt;h3&gt;2. No warranty&lt;/h3&gt;&lt;p&gt;Quillora is provided “as is”, without warranty of any kind, express or implied, including the warranties of merchantability, fitness for a particular purpose and non-infringement. In no event shall the authors or copyright holders be liable for any claim, damages or other liability arising from the software or its use.&lt;/p&gt;&lt;h3&gt;3. Check what was recognised&lt;/h3&gt;&lt;p&gt;Text recognition can make mistakes: letters may be confused, lines merged or left out. Check recognised text before you rely on it, especially numbers, names, amounts and passwords.&lt;/p&gt;&lt;h3&gt;4. Your responsibility&lt;/h3&gt;&lt;p&gt;Capture only what you are allowed to copy. Respect the copyright of others and the confidentiality of what other people show you or send you.&lt;/p&gt;&lt;h3&gt;5. Everything stays on your computer&lt;/h3&gt;&lt;p&gt;Quillora processes your screen on your own computer. What it stores, and where, is described in the privacy notice.&lt;/p&gt;</translation>
    </message>
    <message id="legal.privacy.content">
        <source>&lt;h2&gt;Privacy&lt;/h2&gt;&lt;p&gt;Quillora works entirely on your computer. It has no account, sends no usage statistics, loads nothing from the internet and makes no network connection of its own. The screen images and the recognised text never leave your computer unless you paste or send them somewhere yourself.&lt;/p&gt;&lt;h3&gt;What is stored, and where&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Settings&lt;/b&gt; – &lt;code&gt;~/.config/Quillora/settings.json&lt;/code&gt; (or under &lt;code&gt;$XDG_CONFIG_HOME&lt;/code&gt;): your preferences, the hotkey, the HTTP API settings and token, and the date you accepted the terms.&lt;/li&gt;&lt;li&gt;&lt;b&gt;History&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/history.json&lt;/code&gt; (or under &lt;code&gt;$XDG_DATA_HOME&lt;/code&gt;): the text of each saved capture and of each text you add yourself, its time and, for a capture, the name of the monitor. By default the last 50 entries are kept for 30 days. You can delete single entries or the whole history, and switch the history off in the preferences.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Screenshots&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/Screenshots/&lt;/code&gt;: a picture of the whole monitor for each saved capture, so you can see where a text came from. It is deleted together with its entry. With the history off, no screenshot is kept.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Open at login&lt;/b&gt; – &lt;code&gt;~/.config/autostart/org.quillora.Quillora.desktop&lt;/code&gt;, only while that option is on.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Selection trace&lt;/b&gt; – &lt;code&gt;~/.local/state/Quillora/quillora-debug.log&lt;/code&gt; (or under &lt;code&gt;$XDG_STATE_HOME&lt;/code&gt;), only when Quillora is started with the environment variable &lt;code&gt;QUILLORA_DEBUG_LOG&lt;/code&gt; set, for tracking down problems with selecting: positions and sizes of the selection and the state of the capture windows, never captured text or pictures.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;These files can be read by your user account only. Quillora also writes messages about its own operation to its standard output and to the system log (&lt;code&gt;journalctl -t quillora&lt;/code&gt;); the system log receives the first 100 characters of each recognised text. Start Quillora with &lt;code&gt;QT_LOGGING_RULES=quillora.capture.debug=false&lt;/code&gt; to leave them out.&lt;/p&gt;&lt;h3&gt;The clipboard&lt;/h3&gt;&lt;p&gt;When you save a capture, its text is put on the clipboard and, unless you switch this off, into the selection that a middle click pastes. Every program of your desktop session can read it there, as with anything you copy. When Quillora quits, the clipboard manager of your desktop, if one runs, keeps the text on the clipboard.&lt;/p&gt;&lt;h3&gt;The local HTTP API&lt;/h3&gt;&lt;p&gt;Quillora can be controlled by scripts through an HTTP API. It is &lt;b&gt;off by default&lt;/b&gt;. Switched on without an access token, it listens on port 9876 (or the port you choose) at this computer's loopback addresses only (&lt;code&gt;127.0.0.1&lt;/code&gt; and &lt;code&gt;::1&lt;/code&gt;) and answers only programs running on this computer; requests from web pages of other sites are refused. Only when you set an access token in the preferences does it listen on every network interface, and then it answers only requests that carry the token. Whoever can use it can read and change your history and settings, start captures, take pictures of your screen and type and click on your behalf: keep the token secret, and block the port in your firewall if others share your network.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Privacy&lt;/h2&gt;&lt;p&gt;Quillora works entirely on your computer. It has no account, sends no usage statistics, loads nothing from the internet and makes no network connection of its own. The screen images and the recognised text never leave your computer unless you paste or send them somewhere yourself.&lt;/p&gt;&lt;h3&gt;What is stored, and where&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Settings&lt;/b&gt; – &lt;code&gt;~/.config/Quillora/settings.json&lt;/code&gt; (or under &lt;code&gt;$XDG_CONFIG_HOME&lt;/code&gt;): your preferences, the hotkey, the HTTP API settings and token, and the date you accepted the terms.&lt;/li&gt;&lt;li&gt;&lt;b&gt;History&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/history.json&lt;/code&gt; (or under &lt;code&gt;$XDG_DATA_HOME&lt;/code&gt;): the text of each saved capture and of each text you add yourself, its time and, for a capture, the name of the monitor. By default the last 50 entries are kept for 30 days. You can delete single entries or the whole history, and switch the history off in the preferences.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Screenshots&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/Screenshots/&lt;/code&gt;: a picture of the whole monitor for each saved capture, so you can see where a text came from. It is deleted together with its entry. With the history off, no screenshot is kept.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Open at login&lt;/b&gt; – &lt;code&gt;~/.config/autostart/org.quillora.Quillora.desktop&lt;/code&gt;, only while that option is on.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Selection trace&lt;/b&gt; – &lt;code&gt;~/.local/state/Quillora/quillora-debug.log&lt;/code&gt; (or under &lt;code&gt;$XDG_STATE_HOME&lt;/code&gt;), only when Quillora is started with the environment variable &lt;code&gt;QUILLORA_DEBUG_LOG&lt;/code&gt; set, for tracking down problems with selecting: positions and sizes of the selection and the state of the capture windows, never captured text or pictures.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;These files can be read by your user account only. Quillora also writes messages about its own operation to its standard output and to the system log (&lt;code&gt;journalctl -t quillora&lt;/code&gt;); the system log receives the first 100 characters of each recognised text. Start Quillora with &lt;code&gt;QT_LOGGING_RULES=quillora.capture.debug=false&lt;/code&gt; to leave them out.&lt;/p&gt;&lt;h3&gt;The clipboard&lt;/h3&gt;&lt;p&gt;When you save a capture, its text is put on the clipboard and, unless you switch this off, into the selection that a middle click pastes. Every program of your desktop session can read it there, as with anything you copy. When Quillora quits, the clipboard manager of your desktop, if one runs, keeps the text on the clipboard.&lt;/p&gt;&lt;h3&gt;The local HTTP API&lt;/h3&gt;&lt;p&gt;Quillora can be controlled by scripts through an HTTP API. It is &lt;b&gt;off by default&lt;/b&gt;. Switched on without an access token, it listens on port 9876 (or the port you choose) at this computer's loopback addresses only (&lt;code&gt;127.0.0.1&lt;/code&gt; and &lt;code&gt;::1&lt;/code&gt;) and answers only programs running on this computer; requests from web pages of other sites are refused. Only when you set an access token in the preferences does it listen on every network interface, and then it answers only requests that carry the token. Whoever can use it can read and change your history and settings, start captures, take pictures of your screen and type and click on your behalf: keep the token secret, and block the port in your firewall if others share your network.&lt;/p&gt;</translation>
    </message>
    <message id="legal.accessibility.content">
        <source>&lt;h2&gt;Accessibility&lt;/h2&gt;&lt;p&gt;Quillora should be usable by everyone. This is what it offers today, and where its limits are.&lt;/p&gt;&lt;h3&gt;Keyboard&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;A capture starts with the hotkey (Ctrl+Shift+7 unless you change it in the preferences).&lt;/li&gt;&lt;li&gt;Where a global hotkey is not possible, bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to a shortcut of your desktop.&lt;/li&gt;&lt;li&gt;Every window can be used with the keyboard: Tab moves between controls, Escape closes information windows and cancels a capture, Ctrl+S saves the text in the editor.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Screen readers and display&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;The tray icon and the controls carry names for screen readers (through the desktop's accessibility bus, AT-SPI).&lt;/li&gt;&lt;li&gt;Fonts, text size and colours follow your desktop's settings and theme.&lt;/li&gt;&lt;li&gt;Recognised text is plain text: after saving you can paste it into any program, including ones that read text aloud or enlarge it.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Known limits&lt;/h3&gt;&lt;p&gt;Choosing the area to capture needs a pointing device (mouse, touchpad, pen or trackball). If something keeps you from using Quillora, please tell us through the project's issue tracker so that we can fix it.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Accessibility&lt;/h2&gt;&lt;p&gt;Quillora should be usable by everyone. This is what it offers today, and where its limits are.&lt;/p&gt;&lt;h3&gt;Keyboard&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;A capture starts with the hotkey (Ctrl+Shift+7 unless you change it in the preferences).&lt;/li&gt;&lt;li&gt;Where a global hotkey is not possible, bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to a shortcut of your desktop.&lt;/li&gt;&lt;li&gt;Every window can be used with the keyboard: Tab moves between controls, Escape closes information windows and cancels a capture, Ctrl+S saves the text in the editor.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Screen readers and display&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;The tray icon and the controls carry names for screen readers (through the desktop's accessibility bus, AT-SPI).&lt;/li&gt;&lt;li&gt;Fonts, text size and colours follow your desktop's settings and theme.&lt;/li&gt;&lt;li&gt;Recognised text is plain text: after saving you can paste it into any program, including ones that read text aloud or enlarge it.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Known limits&lt;/h3&gt;&lt;p&gt;Choosing the area to capture needs a pointing device (mouse, touchpad, pen or trackball). If something keeps you from using Quillora, please tell us through the project's issue tracker so that we can fix it.&lt;/p&gt;</translation>
    </message>
    <message id="legal.impressum.content">
        <source>&lt;h2&gt;Imprint&lt;/h2&gt;&lt;p&gt;&lt;b&gt;Quillora&lt;/b&gt; – screen text capture for the Linux desktop.&lt;/p&gt;&lt;p&gt;Quillora is free and open-source software, developed and published by the Quillora contributors under the MIT License. It is not sold, carries no advertising and collects no data.&lt;/p&gt;&lt;h3&gt;Contact&lt;/h3&gt;&lt;p&gt;Questions, bug reports and suggestions are welcome in the project's public issue tracker, where the maintainers answer them in the open. Please do not attach screenshots that show personal or confidential information.&lt;/p&gt;&lt;h3&gt;Responsibility for content&lt;/h3&gt;&lt;p&gt;Quillora only shows text that you captured from your own screen. You are responsible for what you capture and for where you paste it.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Imprint&lt;/h2&gt;&lt;p&gt;&lt;b&gt;Quillora&lt;/b&gt; – screen text capture for the Linux desktop.&lt;/p&gt;&lt;p&gt;Quillora is free and open-source software, developed and published by the Quillora contributors under the MIT License. It is not sold, carries no advertising and collects no data.&lt;/p&gt;&lt;h3&gt;Contact&lt;/h3&gt;&lt;p&gt;Questions, bug reports and suggestions are welcome in the project's public issue tracker, where the maintainers answer them in the open. Please do not attach screenshots that show personal or confidential information.&lt;/p&gt;&lt;h3&gt;Responsibility for content&lt;/h3&gt;&lt;p&gt;Quillora only shows text that you captured from your own screen. You are responsible for what you capture and for where you paste it.&lt;/p&gt;</translation>
    </message>
    <message id="onboarding.title">
        <source>Quillora Quick Start</source>
        <translation>Quillora Quick Start</translation>
    </message>
    <message id="onboarding.capture.body">
        <source>Press %1 anywhere. Every screen freezes; drag a rectangle around the text you want to copy. Escape cancels.</source>
        <translation>Press %1 anywhere. Every screen freezes; drag a rectangle around the text you want to copy. Escape cancels.</translation>
    </message>
    <message id="onboarding.capture.tray">
        <source>You can also choose &lt;b&gt;Capture Text&lt;/b&gt; in the Quillora menu of the system tray.</source>
        <translation>You can also choose &lt;b&gt;Capture Text&lt;/b&gt; in the Quillora menu of the system tray.</translation>
    </message>
    <message id="onboarding.capture.notray">
        <source>No system tray was found, so Quillora shows no icon. Use the hotkey, or bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to a shortcut in your desktop's keyboard settings.</source>
        <translation>No system tray was found, so Quillora shows no icon. Use the hotkey, or bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to a shortcut in your desktop's keyboard settings.</translation>
    </message>
    <message id="onboarding.capture.nohotkey">
        <source>This desktop gives Quillora no hotkey of its own: bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to %1 or another shortcut in your desktop's keyboard settings. Every screen freezes; drag a rectangle around the text you want to copy. Escape cancels.</source>
        <translation>This desktop gives Quillora no hotkey of its own: bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to %1 or another shortcut in your desktop's keyboard settings. Every screen freezes; drag a rectangle around the text you want to copy. Escape cancels.</translation>
    </message>
    <message id="onboarding.capture.heading">
        <source>Capture text anywhere</source>
        <translation>Capture text anywhere</translation>
    </message>
    <message id="onboarding.edit.heading">
        <source>Check, correct, paste</source>
        <translation>Check, correct, paste</translation>
    </message>
    <message id="onboarding.edit.body">
        <source>Quillora recognises the text on your computer and shows it in a small editor. Correct it if needed and press &lt;b&gt;Save&lt;/b&gt; (Ctrl+S): the text is on the clipboard, ready to paste.&lt;br&gt;&lt;br&gt;Your captures are kept in the history. Push the pointer against the right edge of the screen to open it, copy an earlier text again or look at the screenshot it came from.</source>
        <translation>Quillora recognises the text on your computer and shows it in a small editor. Correct it if needed and press &lt;b&gt;Save&lt;/b&gt; (Ctrl+S): the text is on the clipboard, ready to paste.&lt;br&gt;&lt;br&gt;Your captures are kept in the history. Push the pointer against the right edge of the screen to open it, copy an earlier text again or look at the screenshot it came from.</translation>
    </message>
    <message id="onboarding.launchAtLogin">
        <source>Open Quillora when I log in</source>
        <translation>Open Quillora when I log in</translation>
    </message>
    <message id="onboarding.finish.heading">
        <source>You're ready</source>
        <translation>You're ready</translation>
    </message>
    <message id="onboarding.finish.body">
        <source>The hotkey, text clean-up, the history and the local HTTP API (off by default) can be changed in &lt;b&gt;Preferences&lt;/b&gt;. This quick start stays available in the menu under Legal &amp;amp; Info.</source>
        <translation>The hotkey, text clean-up, the history and the local HTTP API (off by default) can be changed in &lt;b&gt;Preferences&lt;/b&gt;. This quick start stays available in the menu under Legal &amp;amp; Info.</translation>
    </message>
    <message id="onboarding.back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="onboarding.finish">
        <source>Get Started</source>
        <translation>Get Started</translation>
    </message>
    <message id="onboarding.next">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="capture.hint">
        <source>Drag to select text · Esc to cancel</source>
        <translation>Drag to select text · Esc to cancel</translation>
    </message>
    <message id="accessibility.toggle.on">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="accessibility.toggle.off">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="accessibility.sidebar.hint">
        <source>Shows this group of settings</source>
        <translation>Shows this group of settings</translation>
    </message>
    <message id="prefs.tab.general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="prefs.tab.text">
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message id="prefs.tab.history">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="prefs.tab.api">
        <source>HTTP API</source>
        <translation>HTTP API</translation>
    </message>
    <message id="prefs.hotkey.title">
        <source>Capture Hotkey</source>
        <translation>Capture Hotkey</translation>
    </message>
    <message id="prefs.hotkey.label">
        <source>Hotkey:</source>
        <translation>Hotkey:</translation>
    </message>
    <message id="prefs.hotkey.recording">
        <source>Press the new hotkey…</source>
        <translation>Press the new hotkey…</translation>
    </message>
    <message id="prefs.hotkey.reset">
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message id="prefs.hotkey.hint">
        <source>Click the hotkey and press the new combination. It needs Ctrl or Super; Escape cancels.</source>
        <translation>Click the hotkey and press the new combination. It needs Ctrl or Super; Escape cancels.</translation>
    </message>
    <message id="prefs.hotkey.conflict">
        <source>%1 is used by another program. Choose another combination.</source>
        <translation>%1 is used by another program. Choose another combination.</translation>
    </message>
    <message id="prefs.hotkey.unavailable">
        <source>%1 cannot be used as the hotkey on this desktop. Bind “quillora --capture” to a shortcut in the desktop's keyboard settings instead.</source>
        <translation>%1 cannot be used as the hotkey on this desktop. Bind “quillora --capture” to a shortcut in the desktop's keyboard settings instead.</translation>
    </message>
    <message id="prefs.hotkey.needsModifier">
        <source>Hold Ctrl or Super together with the key.</source>
        <translation>Hold Ctrl or Super together with the key.</translation>
    </message>
    <message id="prefs.hotkey.unknownKey">
        <source>This key cannot be part of a hotkey. Choose a letter, digit, punctuation or function key.</source>
        <translation>This key cannot be part of a hotkey. Choose a letter, digit, punctuation or function key.</translation>
    </message>
    <message id="prefs.capture.title">
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message id="prefs.capture.shadows">
        <source>Include window shadows</source>
        <translation>Include window shadows</translation>
    </message>
    <message id="prefs.capture.shadows.help">
        <source>Has no effect on X11: windows there have no shadows of their own in the screen image.</source>
        <translation>Has no effect on X11: windows there have no shadows of their own in the screen image.</translation>
    </message>
    <message id="prefs.capture.hint">
        <source>Show instructions on the capture screen</source>
        <translation>Show instructions on the capture screen</translation>
    </message>
    <message id="prefs.startup.title">
        <source>Startup</source>
        <translation>Startup</translation>
    </message>
    <message id="prefs.startup.launch">
        <source>Open Quillora at login</source>
        <translation>Open Quillora at login</translation>
    </message>
    <message id="prefs.text.title">
        <source>Text Clean-up</source>
        <translation>Text Clean-up</translation>
    </message>
    <message id="prefs.text.linebreaks">
        <source>Remove line breaks</source>
        <translation>Remove line breaks</translation>
    </message>
    <message id="prefs.text.linebreaks.help">
        <source>Turns every line break into a space, so that the text becomes one line.</source>
        <translation>Turns every line break into a space, so that the text becomes one line.</translation>
    </message>
    <message id="prefs.text.whitespace">
        <source>Clean up whitespace</source>
        <translation>Clean up whitespace</translation>
    </message>
    <message id="prefs.text.whitespace.help">
        <source>Turns every run of spaces, tabs and line breaks into one space and trims both ends.</source>
        <translation>Turns every run of spaces, tabs and line breaks into one space and trims both ends.</translation>
    </message>
    <message id="prefs.text.hyphenation">
        <source>Repair hyphenation</source>
        <translation>Repair hyphenation</translation>
    </message>
    <message id="prefs.text.hyphenation.help">
        <source>Joins words split by a hyphen at the end of a line: “exam- ple” becomes “example”.</source>
        <translation>Joins words split by a hyphen at the end of a line: “exam- ple” becomes “example”.</translation>
    </message>
    <message id="prefs.history.title">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="prefs.history.enable">
        <source>Keep a history of captures</source>
        <translation>Keep a history of captures</translation>
    </message>
    <message id="prefs.history.enable.help">
        <source>Saved captures are kept with a screenshot of their screen, on this computer only.</source>
        <translation>Saved captures are kept with a screenshot of their screen, on this computer only.</translation>
    </message>
    <message id="prefs.history.options.title">
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message id="prefs.history.max">
        <source>Maximum entries:</source>
        <translation>Maximum entries:</translation>
    </message>
    <message id="prefs.history.autodelete">
        <source>Delete entries automatically:</source>
        <translation>Delete entries automatically:</translation>
    </message>
    <message id="prefs.history.days.7">
        <source>After 7 days</source>
        <translation>After 7 days</translation>
    </message>
    <message id="prefs.history.days.14">
        <source>After 14 days</source>
        <translation>After 14 days</translation>
    </message>
    <message id="prefs.history.days.30">
        <source>After 30 days</source>
        <translation>After 30 days</translation>
    </message>
    <message id="prefs.history.days.90">
        <source>After 90 days</source>
        <translation>After 90 days</translation>
    </message>
    <message id="prefs.history.days.never">
        <source>Never</source>
        <translation>Never</translation>
    </message>
    <message id="prefs.history.data.title">
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message id="prefs.history.clear.description">
        <source>Deletes every saved capture and its screenshot. This cannot be undone.</source>
        <translation>Deletes every saved capture and its screenshot. This cannot be undone.</translation>
    </message>
    <message id="prefs.history.clear">
        <source>Clear History…</source>
        <translation>Clear History…</translation>
    </message>
    <message id="prefs.history.clear.confirm.title">
        <source>Clear the whole history?</source>
        <translation>Clear the whole history?</translation>
    </message>
    <message id="prefs.history.clear.confirm.button">
        <source>Clear History</source>
        <translation>Clear History</translation>
    </message>
    <message id="prefs.api.title">
        <source>HTTP API</source>
        <translation>HTTP API</translation>
    </message>
    <message id="prefs.api.server.title">
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message id="prefs.api.enable">
        <source>Enable the HTTP API</source>
        <translation>Enable the HTTP API</translation>
    </message>
    <message id="prefs.api.enable.help">
        <source>Lets scripts capture text, read the history and change settings over HTTP.</source>
        <translation>Lets scripts capture text, read the history and change settings over HTTP.</translation>
    </message>
    <message id="prefs.api.port">
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message id="prefs.api.apply">
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message id="prefs.api.url">
        <source>Address:</source>
        <translation>Address:</translation>
    </message>
    <message id="prefs.api.docs">
        <source>Open API Documentation</source>
        <translation>Open API Documentation</translation>
    </message>
    <message id="prefs.api.auth.title">
        <source>Access Token</source>
        <translation>Access Token</translation>
    </message>
    <message id="prefs.api.token.placeholder">
        <source>No token</source>
        <translation>No token</translation>
    </message>
    <message id="prefs.api.token.hint">
        <source>Without a token only programs on this computer can use the API. With one, other computers on your network can too, and every request must send it as “Authorization: Bearer &lt;token&gt;”. Press Apply after changing the switch, the port or the token.</source>
        <translation>Without a token only programs on this computer can use the API. With one, other computers on your network can too, and every request must send it as “Authorization: Bearer &lt;token&gt;”. Press Apply after changing the switch, the port or the token.</translation>
    </message>
    <message id="prefs.api.endpoints.title">
        <source>Endpoints</source>
        <translation>Endpoints</translation>
    </message>
    <message id="prefs.api.token.generate">
        <source>Generate</source>
        <translation>Generate</translation>
    </message>
    <message id="prefs.api.token.regenerate">
        <source>Regenerate</source>
        <translation>Regenerate</translation>
    </message>
    <message id="menu.capture">
        <source>Capture Text</source>
        <translation>Capture Text</translation>
    </message>
    <message id="menu.history">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="menu.preferences">
        <source>Preferences…</source>
        <translation>Preferences…</translation>
    </message>
    <message id="menu.legal">
        <source>Legal &amp; Info</source>
        <translation>Legal &amp; Info</translation>
    </message>
    <message id="menu.about">
        <source>About Quillora</source>
        <translation>About Quillora</translation>
    </message>
    <message id="menu.quickstart">
        <source>Quick Start</source>
        <translation>Quick Start</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Quillora</source>
        <translation>Quit Quillora</translation>
    </message>
    <message id="tray.alreadyRunning">
        <source>Quillora is already running. Open its menu here, or press %1 to capture text.</source>
        <translation>Quillora is already running. Open its menu here, or press %1 to capture text.</translation>
    </message>
    <message id="tray.tooltip">
        <source>Quillora: %1 captures text</source>
        <translation>Quillora: %1 captures text</translation>
    </message>
    <message id="tray.hotkeyHeld">
        <source>%1 cannot be the capture hotkey: another program uses it. Choose another hotkey in Preferences, or bind “quillora --capture” to a shortcut of your desktop.</source>
        <translation>%1 cannot be the capture hotkey: another program uses it. Choose another hotkey in Preferences, or bind “quillora --capture” to a shortcut of your desktop.</translation>
    </message>
    <message id="tray.hotkeyUnavailable">
        <source>%1 cannot be the capture hotkey on this desktop. Choose another hotkey in Preferences, or bind “quillora --capture” to a shortcut of your desktop.</source>
        <translation>%1 cannot be the capture hotkey on this desktop. Choose another hotkey in Preferences, or bind “quillora --capture” to a shortcut of your desktop.</translation>
    </message>
    <message id="permission.required.title">
        <source>Quillora cannot capture the screen</source>
        <translation>Quillora cannot capture the screen</translation>
    </message>
    <message id="permission.required.message">
        <source>Quillora needs to read the screen to find text on it, and that is not possible in this session. Under Wayland the desktop's screenshot portal is missing or refused.

The help page explains how to allow it on GNOME and KDE Plasma. Start Quillora again afterwards.</source>
        <translation>Quillora needs to read the screen to find text on it, and that is not possible in this session. Under Wayland the desktop's screenshot portal is missing or refused.

The help page explains how to allow it on GNOME and KDE Plasma. Start Quillora again afterwards.</translation>
    </message>
    <message id="permission.button.settings">
        <source>Open Help</source>
        <translation>Open Help</translation>
    </message>
    <message id="permission.button.quit">
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message id="permission.button.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="editor.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="editor.recapture">
        <source>Capture Again</source>
        <translation>Capture Again</translation>
    </message>
    <message id="sidebar.date.now">
        <source>now</source>
        <translation>now</translation>
    </message>
    <message id="sidebar.date.seconds">
        <source>%1 sec. ago</source>
        <translation>%1 sec. ago</translation>
    </message>
    <message id="sidebar.date.minutes">
        <source>%1 min. ago</source>
        <translation>%1 min. ago</translation>
    </message>
    <message id="sidebar.date.hours">
        <source>%1 hr. ago</source>
        <translation>%1 hr. ago</translation>
    </message>
    <message id="sidebar.date.day">
        <source>%1 day ago</source>
        <translation>%1 day ago</translation>
    </message>
    <message id="sidebar.date.days">
        <source>%1 days ago</source>
        <translation>%1 days ago</translation>
    </message>
    <message id="sidebar.date.week">
        <source>%1 wk. ago</source>
        <translation>%1 wk. ago</translation>
    </message>
    <message id="sidebar.date.weeks">
        <source>%1 wk. ago</source>
        <translation>%1 wk. ago</translation>
    </message>
    <message id="sidebar.date.month">
        <source>%1 mo. ago</source>
        <translation>%1 mo. ago</translation>
    </message>
    <message id="sidebar.date.months">
        <source>%1 mo. ago</source>
        <translation>%1 mo. ago</translation>
    </message>
    <message id="sidebar.date.year">
        <source>%1 yr. ago</source>
        <translation>%1 yr. ago</translation>
    </message>
    <message id="sidebar.date.years">
        <source>%1 yr. ago</source>
        <translation>%1 yr. ago</translation>
    </message>
    <message id="tooltip.screenshot">
        <source>Show Screenshot</source>
        <translation>Show Screenshot</translation>
    </message>
    <message id="tooltip.copy">
        <source>Copy to Clipboard</source>
        <translation>Copy to Clipboard</translation>
    </message>
    <message id="tooltip.edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="tooltip.delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="sidebar.capture">
        <source>Capture Text</source>
        <translation>Capture Text</translation>
    </message>
    <message id="sidebar.title">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="editor.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="editor.title">
        <source>Captured Text</source>
        <translation>Captured Text</translation>
    </message>
    <message id="notification.noText.title">
        <source>No text found</source>
        <translation>No text found</translation>
    </message>
    <message id="notification.noText.languages">
        <source>Recognised languages: %1</source>
        <translation>Recognised languages: %1</translation>
    </message>
    <message id="prefs.text.clipboard.title">
        <source>Clipboard</source>
        <translation>Clipboard</translation>
    </message>
    <message id="prefs.text.primary">
        <source>Also paste with the middle button</source>
        <translation>Also paste with the middle button</translation>
    </message>
    <message id="prefs.text.primary.help">
        <source>Puts the captured text into the primary selection as well, which a click of the middle mouse button pastes.</source>
        <translation>Puts the captured text into the primary selection as well, which a click of the middle mouse button pastes.</translation>
    </message>
    <message id="capture.reading">
        <source>Reading text</source>
        <translation>Reading text</translation>
    </message>
</context>
</TS>
