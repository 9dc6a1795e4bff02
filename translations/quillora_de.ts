<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="about.library.qt">
        <source>user interface, images, networking</source>
        <translation>Benutzeroberfläche, Bilder, Netzwerk</translation>
    </message>
    <message id="about.library.tesseract">
        <source>text recognition</source>
        <translation>Texterkennung</translation>
    </message>
    <message id="about.library.leptonica">
        <source>image handling for text recognition</source>
        <translation>Bildverarbeitung für die Texterkennung</translation>
    </message>
    <message id="about.library.json">
        <source>settings and history files, HTTP API</source>
        <translation>Einstellungs- und Verlaufsdateien, HTTP-API</translation>
    </message>
    <message id="about.library.xcb">
        <source>screen capture and global hotkey</source>
        <translation>Bildschirmaufnahme und globales Tastenkürzel</translation>
    </message>
    <message id="about.title">
        <source>About Quillora</source>
        <translation>Über Quillora</translation>
    </message>
    <message id="about.version">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="about.tagline">
        <source>Copies text from anywhere on your screen. Recognition runs on your computer; nothing leaves it.</source>
        <translation>Kopiert Text von überall auf Ihrem Bildschirm. Die Erkennung läuft auf Ihrem Rechner; nichts verlässt ihn.</translation>
    </message>
    <message id="about.license">
        <source>Quillora is free and open-source software under the MIT License.</source>
        <translation>Quillora ist freie Open-Source-Software unter der MIT-Lizenz.</translation>
    </message>
    <message id="about.libraries.heading">
        <source>Built with</source>
        <translation>Erstellt mit</translation>
    </message>
    <message id="about.copyright">
        <source>© the Quillora contributors</source>
        <translation>© die Mitwirkenden von Quillora</translation>
    </message>
    <message id="legal.acceptance.title">
        <source>Welcome to Quillora</source>
        <translation>Willkommen bei Quillora</translation>
    </message>
    <message id="legal.acceptance.intro">
        <source>Quillora copies text from anywhere on your screen, and does all of its work on your computer. Before you start, please read the terms of use and the privacy notice below.</source>
        <translation>Quillora kopiert Text von überall auf Ihrem Bildschirm und erledigt seine ganze Arbeit auf Ihrem Rechner. Bitte lesen Sie vor dem Start die Nutzungsbedingungen und die Datenschutzhinweise unten.</translation>
    </message>
    <message id="legal.acceptance.decline">
        <source>Decline and Quit</source>
        <translation>Ablehnen und beenden</translation>
    </message>
    <message id="legal.acceptance.accept">
        <source>Accept</source>
        <translation>Akzeptieren</translation>
    </message>
    <message id="menu.terms">
        <source>Terms of Use</source>
        <translation>Nutzungsbedingungen</translation>
    </message>
    <message id="menu.privacy">
        <source>Privacy</source>
        <translation>Datenschutz</translation>
    </message>
    <message id="menu.accessibility">
        <source>Accessibility</source>
        <translation>Barrierefreiheit</translation>
    </message>
    <message id="menu.impressum">
        <source>Imprint</source>
        <translation>Impressum</translation>
    </message>
    <message id="legal.terms.content">
        <source>&lt;h2&gt;Terms of Use&lt;/h2&gt;&lt;p&gt;Quillora is free and open-source software, published by the Quillora contributors under the MIT License. By using it you accept these terms.&lt;/p&gt;&lt;h3&gt;1. What you may do&lt;/h3&gt;&lt;p&gt;You may use, copy, modify, merge, publish, distribute, sublicense and sell copies of Quillora, provided that the copyright notice and the license text are included in all copies or substantial portions of the software. The full license is shown in the About window.&lt;/p&gt;&lt;h3&gt;2. No warranty&lt;/h3&gt;&lt;p&gt;Quillora is provided “as is”, without warranty of any kind, express or implied, including the warranties of merchantability, fitness for a particular purpose and non-infringement. In no event shall the authors or copyright holders be liable for any claim, damages or other liability arising from the software or its use.&lt;/p&gt;&lt;h3&gt;3. Check what was recognised&lt;/h3&gt;&lt;p&gt;Text recognition can make mistakes: letters may be confused, lines merged or left out. Check recognised text before you rely on it, especially numbers, names, amounts and passwords.&lt;/p&gt;&lt;h3&gt;4. Your responsibility&lt;/h3&gt;&lt;p&gt;Capture only what you are allowed to copy. Respect the copyright of others and the confidentiality of what other people show you or send you.&lt;/p&gt;&lt;h3&gt;5. Everything stays on your computer&lt;/h3&gt;&lt;p&gt;Quillora processes your screen on your own computer. What it stores, and where, is described in the privacy notice.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Nutzungsbedingungen&lt;/h2&gt;&lt;p&gt;Quillora ist freie Open-Source-Software, herausgegeben von den Mitwirkenden von Quillora unter der MIT-Lizenz. Mit der Nutzung akzeptieren Sie diese Bedingungen.&lt;/p&gt;&lt;h3&gt;1. Was Sie dürfen&lt;/h3&gt;&lt;p&gt;Sie dürfen Quillora verwenden, kopieren, verändern, zusammenführen, veröffentlichen, verbreiten, unterlizenzieren und Kopien verkaufen, sofern der Urheberrechtshinweis und der Lizenztext in allen Kopien oder wesentlichen Teilen der Software enthalten sind. Die vollständige Lizenz steht im Fenster „Über Quillora“.&lt;/p&gt;&lt;h3&gt;2. Keine Gewährleistung&lt;/h3&gt;&lt;p&gt;Quillora wird „wie besehen“ bereitgestellt, ohne jede ausdrückliche oder stillschweigende Gewährleistung, einschließlich der Gewährleistung der Marktgängigkeit, der Eignung für einen bestimmten Zweck und der Nichtverletzung von Rechten. Die Autoren oder Urheberrechtsinhaber haften in keinem Fall für Ansprüche, Schäden oder sonstige Haftung, die aus der Software oder ihrer Nutzung entstehen.&lt;/p&gt;&lt;h3&gt;3. Erkannten Text prüfen&lt;/h3&gt;&lt;p&gt;Die Texterkennung kann Fehler machen: Buchstaben werden verwechselt, Zeilen zusammengezogen oder ausgelassen. Prüfen Sie erkannten Text, bevor Sie sich darauf verlassen, besonders Zahlen, Namen, Beträge und Passwörter.&lt;/p&gt;&lt;h3&gt;4. Ihre Verantwortung&lt;/h3&gt;&lt;p&gt;Nehmen Sie nur auf, was Sie kopieren dürfen. Achten Sie das Urheberrecht anderer und die Vertraulichkeit dessen, was andere Ihnen zeigen oder senden.&lt;/p&gt;&lt;h3&gt;5. Alles bleibt auf Ihrem Rechner&lt;/h3&gt;&lt;p&gt;Quillora verarbeitet Ihren Bildschirm auf Ihrem eigenen Rechner. Was gespeichert wird und wo, steht in den Datenschutzhinweisen.&lt;/p&gt;</translation>
    </message>
    <message id="legal.privacy.content">
        <source>&lt;h2&gt;Privacy&lt;/h2&gt;&lt;p&gt;Quillora works entirely on your computer. It has no account, sends no usage statistics, loads nothing from the internet and makes no network connection of its own. The screen images and the recognised text never leave your computer unless you paste or send them somewhere yourself.&lt;/p&gt;&lt;h3&gt;What is stored, and where&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Settings&lt;/b&gt; – &lt;code&gt;~/.config/Quillora/settings.json&lt;/code&gt; (or under &lt;code&gt;$XDG_CONFIG_HOME&lt;/code&gt;): your preferences, the hotkey, the HTTP API settings and token, and the date you accepted the terms.&lt;/li&gt;&lt;li&gt;&lt;b&gt;History&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/history.json&lt;/code&gt; (or under &lt;code&gt;$XDG_DATA_HOME&lt;/code&gt;): the text of each saved capture and of each text you add yourself, its time and, for a capture, the name of the monitor. By default the last 50 entries are kept for 30 days. You can delete single entries or the whole history, and switch the history off in the preferences.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Screenshots&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/Screenshots/&lt;/code&gt;: a picture of the whole monitor for each saved capture, so you can see where a text came from. It is deleted together with its entry. With the history off, no screenshot is kept.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Open at login&lt;/b&gt; – &lt;code&gt;~/.config/autostart/org.quillora.Quillora.desktop&lt;/code&gt;, only while that option is on.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Selection trace&lt;/b&gt; – &lt;code&gt;~/.local/state/Quillora/quillora-debug.log&lt;/code&gt; (or under &lt;code&gt;$XDG_STATE_HOME&lt;/code&gt;), only when Quillora is started with the environment variable &lt;code&gt;QUILLORA_DEBUG_LOG&lt;/code&gt; set, for tracking down problems with selecting: positions and sizes of the selection and the state of the capture windows, never captured text or pictures.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;These files can be read by your user account only. Quillora also writes messages about its own operation to its standard output and to the system log (&lt;code&gt;journalctl -t quillora&lt;/code&gt;); the system log receives the first 100 characters of each recognised text. Start Quillora with &lt;code&gt;QT_LOGGING_RULES=quillora.capture.debug=false&lt;/code&gt; to leave them out.&lt;/p&gt;&lt;h3&gt;The clipboard&lt;/h3&gt;&lt;p&gt;When you save a capture, its text is put on the clipboard and, unless you switch this off, into the selection that a middle click pastes. Every program of your desktop session can read it there, as with anything you copy. When Quillora quits, the clipboard manager of your desktop, if one runs, keeps the text on the clipboard.&lt;/p&gt;&lt;h3&gt;The local HTTP API&lt;/h3&gt;&lt;p&gt;Quillora can be controlled by scripts through an HTTP API. It is &lt;b&gt;off by default&lt;/b&gt;. Switched on without an access token, it listens on port 9876 (or the port you choose) at this computer&apos;s loopback addresses only (&lt;code&gt;127.0.0.1&lt;/code&gt; and &lt;code&gt;::1&lt;/code&gt;) and answers only programs running on this computer; requests from web pages of other sites are refused. Only when you set an access token in the preferences does it listen on every network interface, and then it answers only requests that carry the token. Whoever can use it can read and change your history and settings, start captures, take pictures of your screen and type and click on your behalf: keep the token secret, and block the port in your firewall if others share your network.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Datenschutz&lt;/h2&gt;&lt;p&gt;Quillora arbeitet vollständig auf Ihrem Rechner. Es hat kein Benutzerkonto, sendet keine Nutzungsstatistiken, lädt nichts aus dem Internet und baut von sich aus keine Netzwerkverbindung auf. Bildschirmbilder und erkannter Text verlassen Ihren Rechner nur, wenn Sie sie selbst irgendwo einfügen oder versenden.&lt;/p&gt;&lt;h3&gt;Was wo gespeichert wird&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Einstellungen&lt;/b&gt; – &lt;code&gt;~/.config/Quillora/settings.json&lt;/code&gt; (bzw. unter &lt;code&gt;$XDG_CONFIG_HOME&lt;/code&gt;): Ihre Einstellungen, das Tastenkürzel, die Einstellungen und das Token der HTTP-API sowie das Datum, an dem Sie die Bedingungen akzeptiert haben.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Verlauf&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/history.json&lt;/code&gt; (bzw. unter &lt;code&gt;$XDG_DATA_HOME&lt;/code&gt;): der Text jeder gespeicherten Aufnahme und jedes Textes, den Sie selbst hinzufügen, seine Zeit und bei einer Aufnahme der Name des Bildschirms. Standardmäßig werden die letzten 50 Einträge 30 Tage lang aufbewahrt. Sie können einzelne Einträge oder den ganzen Verlauf löschen und den Verlauf in den Einstellungen abschalten.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Bildschirmfotos&lt;/b&gt; – &lt;code&gt;~/.local/share/Quillora/Screenshots/&lt;/code&gt;: ein Bild des ganzen Bildschirms zu jeder gespeicherten Aufnahme, damit Sie sehen, woher ein Text stammt. Es wird mit seinem Eintrag gelöscht. Bei abgeschaltetem Verlauf wird kein Bildschirmfoto aufbewahrt.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Bei Anmeldung öffnen&lt;/b&gt; – &lt;code&gt;~/.config/autostart/org.quillora.Quillora.desktop&lt;/code&gt;, nur solange diese Option eingeschaltet ist.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Auswahlprotokoll&lt;/b&gt; – &lt;code&gt;~/.local/state/Quillora/quillora-debug.log&lt;/code&gt; (bzw. unter &lt;code&gt;$XDG_STATE_HOME&lt;/code&gt;), nur wenn Quillora mit gesetzter Umgebungsvariable &lt;code&gt;QUILLORA_DEBUG_LOG&lt;/code&gt; gestartet wird, um Probleme beim Auswählen aufzuspüren: Lage und Größe der Auswahl und der Zustand der Aufnahmefenster, nie aufgenommener Text oder Bilder.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Diese Dateien kann nur Ihr Benutzerkonto lesen. Quillora schreibt außerdem Meldungen über seinen eigenen Betrieb in seine Standardausgabe und in das Systemprotokoll (&lt;code&gt;journalctl -t quillora&lt;/code&gt;); ins Systemprotokoll kommen die ersten 100 Zeichen jedes erkannten Textes. Starten Sie Quillora mit &lt;code&gt;QT_LOGGING_RULES=quillora.capture.debug=false&lt;/code&gt;, um sie wegzulassen.&lt;/p&gt;&lt;h3&gt;Die Zwischenablage&lt;/h3&gt;&lt;p&gt;Wenn Sie eine Aufnahme speichern, kommt ihr Text in die Zwischenablage und, sofern Sie das nicht abschalten, in die Auswahl, die ein Klick mit der mittleren Maustaste einfügt. Dort kann ihn – wie alles, was Sie kopieren – jedes Programm Ihrer Desktop-Sitzung lesen. Beendet sich Quillora, behält die Zwischenablageverwaltung Ihres Desktops, falls eine läuft, den Text in der Zwischenablage.&lt;/p&gt;&lt;h3&gt;Die lokale HTTP-API&lt;/h3&gt;&lt;p&gt;Quillora lässt sich über eine HTTP-API aus Skripten steuern. Sie ist &lt;b&gt;standardmäßig ausgeschaltet&lt;/b&gt;. Eingeschaltet ohne Zugriffstoken lauscht sie auf Port 9876 (oder dem Port Ihrer Wahl) nur an den Loopback-Adressen dieses Rechners (&lt;code&gt;127.0.0.1&lt;/code&gt; und &lt;code&gt;::1&lt;/code&gt;) und antwortet nur Programmen auf diesem Rechner; Anfragen von Webseiten anderer Sites werden abgewiesen. Erst wenn Sie in den Einstellungen ein Zugriffstoken festlegen, lauscht sie an allen Netzwerkschnittstellen und beantwortet dann nur Anfragen, die das Token mitschicken. Wer sie nutzen kann, kann Ihren Verlauf und Ihre Einstellungen lesen und ändern, Aufnahmen starten, Bilder Ihres Bildschirms aufnehmen und in Ihrem Namen tippen und klicken: Halten Sie das Token geheim und sperren Sie den Port in Ihrer Firewall, wenn andere Ihr Netzwerk mitbenutzen.&lt;/p&gt;</translation>
    </message>
    <message id="legal.accessibility.content">
        <source>&lt;h2&gt;Accessibility&lt;/h2&gt;&lt;p&gt;Quillora should be usable by everyone. This is what it offers today, and where its limits are.&lt;/p&gt;&lt;h3&gt;Keyboard&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;A capture starts with the hotkey (Ctrl+Shift+7 unless you change it in the preferences).&lt;/li&gt;&lt;li&gt;Where a global hotkey is not possible, bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to a shortcut of your desktop.&lt;/li&gt;&lt;li&gt;Every window can be used with the keyboard: Tab moves between controls, Escape closes information windows and cancels a capture, Ctrl+S saves the text in the editor.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Screen readers and display&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;The tray icon and the controls carry names for screen readers (through the desktop&apos;s accessibility bus, AT-SPI).&lt;/li&gt;&lt;li&gt;Fonts, text size and colours follow your desktop&apos;s settings and theme.&lt;/li&gt;&lt;li&gt;Recognised text is plain text: after saving you can paste it into any program, including ones that read text aloud or enlarge it.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Known limits&lt;/h3&gt;&lt;p&gt;Choosing the area to capture needs a pointing device (mouse, touchpad, pen or trackball). If something keeps you from using Quillora, please tell us through the project&apos;s issue tracker so that we can fix it.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Barrierefreiheit&lt;/h2&gt;&lt;p&gt;Quillora soll für alle nutzbar sein. Hier steht, was es heute bietet und wo seine Grenzen liegen.&lt;/p&gt;&lt;h3&gt;Tastatur&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;Eine Aufnahme startet mit dem Tastenkürzel (Strg+Umschalt+7, sofern Sie es in den Einstellungen nicht ändern).&lt;/li&gt;&lt;li&gt;Wo kein globales Tastenkürzel möglich ist, legen Sie für den Befehl &lt;code&gt;quillora --capture&lt;/code&gt; ein Tastenkürzel Ihres Desktops an.&lt;/li&gt;&lt;li&gt;Jedes Fenster lässt sich mit der Tastatur bedienen: Tab wechselt zwischen den Bedienelementen, Escape schließt Informationsfenster und bricht eine Aufnahme ab, Strg+S speichert den Text im Editor.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Bildschirmleser und Darstellung&lt;/h3&gt;&lt;ul&gt;&lt;li&gt;Das Symbol im Infobereich und die Bedienelemente tragen Namen für Bildschirmleser (über den Barrierefreiheits-Bus des Desktops, AT-SPI).&lt;/li&gt;&lt;li&gt;Schriften, Textgröße und Farben folgen den Einstellungen und dem Design Ihres Desktops.&lt;/li&gt;&lt;li&gt;Erkannter Text ist reiner Text: Nach dem Speichern können Sie ihn in jedes Programm einfügen, auch in solche, die Text vorlesen oder vergrößern.&lt;/li&gt;&lt;/ul&gt;&lt;h3&gt;Bekannte Grenzen&lt;/h3&gt;&lt;p&gt;Zum Auswählen des Bereichs braucht es ein Zeigegerät (Maus, Touchpad, Stift oder Trackball). Wenn Sie etwas an der Nutzung von Quillora hindert, teilen Sie es uns bitte über den öffentlichen Issue-Tracker des Projekts mit, damit wir es beheben können.&lt;/p&gt;</translation>
    </message>
    <message id="legal.impressum.content">
        <source>&lt;h2&gt;Imprint&lt;/h2&gt;&lt;p&gt;&lt;b&gt;Quillora&lt;/b&gt; – screen text capture for the Linux desktop.&lt;/p&gt;&lt;p&gt;Quillora is free and open-source software, developed and published by the Quillora contributors under the MIT License. It is not sold, carries no advertising and collects no data.&lt;/p&gt;&lt;h3&gt;Contact&lt;/h3&gt;&lt;p&gt;Questions, bug reports and suggestions are welcome in the project&apos;s public issue tracker, where the maintainers answer them in the open. Please do not attach screenshots that show personal or confidential information.&lt;/p&gt;&lt;h3&gt;Responsibility for content&lt;/h3&gt;&lt;p&gt;Quillora only shows text that you captured from your own screen. You are responsible for what you capture and for where you paste it.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Impressum&lt;/h2&gt;&lt;p&gt;&lt;b&gt;Quillora&lt;/b&gt; – Texterfassung vom Bildschirm für den Linux-Desktop.&lt;/p&gt;&lt;p&gt;Quillora ist freie Open-Source-Software, entwickelt und herausgegeben von den Mitwirkenden von Quillora unter der MIT-Lizenz. Es wird nicht verkauft, enthält keine Werbung und sammelt keine Daten.&lt;/p&gt;&lt;h3&gt;Kontakt&lt;/h3&gt;&lt;p&gt;Fragen, Fehlerberichte und Vorschläge sind im öffentlichen Issue-Tracker des Projekts willkommen, wo die Betreuer sie offen beantworten. Bitte hängen Sie keine Bildschirmfotos mit persönlichen oder vertraulichen Informationen an.&lt;/p&gt;&lt;h3&gt;Verantwortung für Inhalte&lt;/h3&gt;&lt;p&gt;Quillora zeigt nur Text, den Sie von Ihrem eigenen Bildschirm aufgenommen haben. Sie sind dafür verantwortlich, was Sie aufnehmen und wo Sie es einfügen.&lt;/p&gt;</translation>
    </message>
    <message id="onboarding.title">
        <source>Quillora Quick Start</source>
        <translation>Quillora – Schnellstart</translation>
    </message>
    <message id="onboarding.capture.body">
        <source>Press %1 anywhere. Every screen freezes; drag a rectangle around the text you want to copy. Escape cancels.</source>
        <translation>Drücken Sie irgendwo %1. Alle Bildschirme frieren ein; ziehen Sie ein Rechteck um den Text, den Sie kopieren möchten. Escape bricht ab.</translation>
    </message>
    <message id="onboarding.capture.tray">
        <source>You can also choose &lt;b&gt;Capture Text&lt;/b&gt; in the Quillora menu of the system tray.</source>
        <translation>Sie können auch &lt;b&gt;Text aufnehmen&lt;/b&gt; im Quillora-Menü des Infobereichs wählen.</translation>
    </message>
    <message id="onboarding.capture.notray">
        <source>No system tray was found, so Quillora shows no icon. Use the hotkey, or bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to a shortcut in your desktop&apos;s keyboard settings.</source>
        <translation>Es wurde kein Infobereich (System Tray) gefunden, daher zeigt Quillora kein Symbol. Verwenden Sie das Tastenkürzel oder legen Sie für den Befehl &lt;code&gt;quillora --capture&lt;/code&gt; ein Tastenkürzel in den Tastatureinstellungen Ihres Desktops an.</translation>
    </message>
    <message id="onboarding.capture.nohotkey">
        <source>This desktop gives Quillora no hotkey of its own: bind the command &lt;code&gt;quillora --capture&lt;/code&gt; to %1 or another shortcut in your desktop's keyboard settings. Every screen freezes; drag a rectangle around the text you want to copy. Escape cancels.</source>
        <translation>Dieser Desktop gibt Quillora kein eigenes Tastenkürzel: Legen Sie den Befehl &lt;code&gt;quillora --capture&lt;/code&gt; in den Tastatureinstellungen Ihres Desktops auf %1 oder ein anderes Kürzel. Jeder Bildschirm friert ein; ziehen Sie ein Rechteck um den Text, den Sie kopieren möchten. Escape bricht ab.</translation>
    </message>
    <message id="onboarding.capture.heading">
        <source>Capture text anywhere</source>
        <translation>Text von überall aufnehmen</translation>
    </message>
    <message id="onboarding.edit.heading">
        <source>Check, correct, paste</source>
        <translation>Prüfen, korrigieren, einfügen</translation>
    </message>
    <message id="onboarding.edit.body">
        <source>Quillora recognises the text on your computer and shows it in a small editor. Correct it if needed and press &lt;b&gt;Save&lt;/b&gt; (Ctrl+S): the text is on the clipboard, ready to paste.&lt;br&gt;&lt;br&gt;Your captures are kept in the history. Push the pointer against the right edge of the screen to open it, copy an earlier text again or look at the screenshot it came from.</source>
        <translation>Quillora erkennt den Text auf Ihrem Rechner und zeigt ihn in einem kleinen Editor. Korrigieren Sie ihn bei Bedarf und drücken Sie &lt;b&gt;Speichern&lt;/b&gt; (Strg+S): Der Text liegt in der Zwischenablage, bereit zum Einfügen.&lt;br&gt;&lt;br&gt;Ihre Aufnahmen werden im Verlauf aufbewahrt. Schieben Sie den Mauszeiger gegen den rechten Bildschirmrand, um ihn zu öffnen, einen früheren Text erneut zu kopieren oder das Bildschirmfoto anzusehen, aus dem er stammt.</translation>
    </message>
    <message id="onboarding.launchAtLogin">
        <source>Open Quillora when I log in</source>
        <translation>Quillora bei der Anmeldung öffnen</translation>
    </message>
    <message id="onboarding.finish.heading">
        <source>You&apos;re ready</source>
        <translation>Alles bereit</translation>
    </message>
    <message id="onboarding.finish.body">
        <source>The hotkey, text clean-up, the history and the local HTTP API (off by default) can be changed in &lt;b&gt;Preferences&lt;/b&gt;. This quick start stays available in the menu under Legal &amp;amp; Info.</source>
        <translation>Tastenkürzel, Textbereinigung, Verlauf und die lokale HTTP-API (standardmäßig aus) lassen sich in den &lt;b&gt;Einstellungen&lt;/b&gt; ändern. Dieser Schnellstart bleibt im Menü unter „Rechtliches &amp;amp; Info“ erreichbar.</translation>
    </message>
    <message id="onboarding.back">
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message id="onboarding.finish">
        <source>Get Started</source>
        <translation>Los geht’s</translation>
    </message>
    <message id="onboarding.next">
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message id="capture.hint">
        <source>Drag to select text · Esc to cancel</source>
        <translation>Ziehen, um Text auszuwählen · Esc zum Abbrechen</translation>
    </message>
    <message id="capture.reading">
        <source>Reading text</source>
        <translation>Text wird gelesen</translation>
    </message>
    <message id="accessibility.toggle.on">
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message id="accessibility.toggle.off">
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message id="accessibility.sidebar.hint">
        <source>Shows this group of settings</source>
        <translation>Zeigt diese Gruppe von Einstellungen</translation>
    </message>
    <message id="prefs.tab.general">
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message id="prefs.tab.text">
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message id="prefs.tab.history">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="prefs.tab.api">
        <source>HTTP API</source>
        <translation>HTTP-API</translation>
    </message>
    <message id="prefs.hotkey.title">
        <source>Capture Hotkey</source>
        <translation>Tastenkürzel für die Aufnahme</translation>
    </message>
    <message id="prefs.hotkey.label">
        <source>Hotkey:</source>
        <translation>Tastenkürzel:</translation>
    </message>
    <message id="prefs.hotkey.recording">
        <source>Press the new hotkey…</source>
        <translation>Neues Tastenkürzel drücken …</translation>
    </message>
    <message id="prefs.hotkey.reset">
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="prefs.hotkey.hint">
        <source>Click the hotkey and press the new combination. It needs Ctrl or Super; Escape cancels.</source>
        <translation>Klicken Sie auf das Tastenkürzel und drücken Sie die neue Kombination. Sie braucht Strg oder Super; Esc bricht ab.</translation>
    </message>
    <message id="prefs.hotkey.conflict">
        <source>%1 is used by another program. Choose another combination.</source>
        <translation>%1 wird von einem anderen Programm verwendet. Wählen Sie eine andere Kombination.</translation>
    </message>
    <message id="prefs.hotkey.unavailable">
        <source>%1 cannot be used as the hotkey on this desktop. Bind “quillora --capture” to a shortcut in the desktop's keyboard settings instead.</source>
        <translation>%1 kann auf diesem Desktop nicht als Tastenkürzel dienen. Legen Sie stattdessen „quillora --capture“ in den Tastatureinstellungen des Desktops auf ein Tastenkürzel.</translation>
    </message>
    <message id="prefs.hotkey.needsModifier">
        <source>Hold Ctrl or Super together with the key.</source>
        <translation>Halten Sie Strg oder Super zusammen mit der Taste gedrückt.</translation>
    </message>
    <message id="prefs.hotkey.unknownKey">
        <source>This key cannot be part of a hotkey. Choose a letter, digit, punctuation or function key.</source>
        <translation>Diese Taste kann nicht Teil eines Tastenkürzels sein. Wählen Sie einen Buchstaben, eine Ziffer, ein Satzzeichen oder eine Funktionstaste.</translation>
    </message>
    <message id="prefs.capture.title">
        <source>Capture</source>
        <translation>Aufnahme</translation>
    </message>
    <message id="prefs.capture.shadows">
        <source>Include window shadows</source>
        <translation>Fensterschatten einbeziehen</translation>
    </message>
    <message id="prefs.capture.shadows.help">
        <source>Has no effect on X11: windows there have no shadows of their own in the screen image.</source>
        <translation>Wirkt unter X11 nicht: Fenster haben dort im Bildschirmbild keine eigenen Schatten.</translation>
    </message>
    <message id="prefs.capture.hint">
        <source>Show instructions on the capture screen</source>
        <translation>Hinweis beim Aufnehmen anzeigen</translation>
    </message>
    <message id="prefs.startup.title">
        <source>Startup</source>
        <translation>Start</translation>
    </message>
    <message id="prefs.startup.launch">
        <source>Open Quillora at login</source>
        <translation>Quillora bei der Anmeldung öffnen</translation>
    </message>
    <message id="prefs.text.title">
        <source>Text Clean-up</source>
        <translation>Textbereinigung</translation>
    </message>
    <message id="prefs.text.linebreaks">
        <source>Remove line breaks</source>
        <translation>Zeilenumbrüche entfernen</translation>
    </message>
    <message id="prefs.text.linebreaks.help">
        <source>Turns every line break into a space, so that the text becomes one line.</source>
        <translation>Macht aus jedem Zeilenumbruch ein Leerzeichen, sodass der Text eine Zeile wird.</translation>
    </message>
    <message id="prefs.text.whitespace">
        <source>Clean up whitespace</source>
        <translation>Leerraum bereinigen</translation>
    </message>
    <message id="prefs.text.whitespace.help">
        <source>Turns every run of spaces, tabs and line breaks into one space and trims both ends.</source>
        <translation>Fasst Folgen von Leerzeichen, Tabulatoren und Zeilenumbrüchen zu einem Leerzeichen zusammen und entfernt Leerraum an Anfang und Ende.</translation>
    </message>
    <message id="prefs.text.hyphenation">
        <source>Repair hyphenation</source>
        <translation>Silbentrennung aufheben</translation>
    </message>
    <message id="prefs.text.hyphenation.help">
        <source>Joins words split by a hyphen at the end of a line: “exam- ple” becomes “example”.</source>
        <translation>Fügt am Zeilenende getrennte Wörter wieder zusammen: „Bei- spiel“ wird zu „Beispiel“.</translation>
    </message>
    <message id="prefs.history.title">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="prefs.history.enable">
        <source>Keep a history of captures</source>
        <translation>Verlauf der Aufnahmen führen</translation>
    </message>
    <message id="prefs.history.enable.help">
        <source>Saved captures are kept with a screenshot of their screen, on this computer only.</source>
        <translation>Gespeicherte Aufnahmen werden mit einem Bildschirmfoto aufbewahrt, nur auf diesem Computer.</translation>
    </message>
    <message id="prefs.history.options.title">
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message id="prefs.history.max">
        <source>Maximum entries:</source>
        <translation>Höchstzahl der Einträge:</translation>
    </message>
    <message id="prefs.history.autodelete">
        <source>Delete entries automatically:</source>
        <translation>Einträge automatisch löschen:</translation>
    </message>
    <message id="prefs.history.days.7">
        <source>After 7 days</source>
        <translation>Nach 7 Tagen</translation>
    </message>
    <message id="prefs.history.days.14">
        <source>After 14 days</source>
        <translation>Nach 14 Tagen</translation>
    </message>
    <message id="prefs.history.days.30">
        <source>After 30 days</source>
        <translation>Nach 30 Tagen</translation>
    </message>
    <message id="prefs.history.days.90">
        <source>After 90 days</source>
        <translation>Nach 90 Tagen</translation>
    </message>
    <message id="prefs.history.days.never">
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message id="prefs.history.data.title">
        <source>Data</source>
        <translation>Daten</translation>
    </message>
    <message id="prefs.history.clear.description">
        <source>Deletes every saved capture and its screenshot. This cannot be undone.</source>
        <translation>Löscht alle gespeicherten Aufnahmen und ihre Bildschirmfotos. Das kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message id="prefs.history.clear">
        <source>Clear History…</source>
        <translation>Verlauf löschen …</translation>
    </message>
    <message id="prefs.history.clear.confirm.title">
        <source>Clear the whole history?</source>
        <translation>Den ganzen Verlauf löschen?</translation>
    </message>
    <message id="prefs.history.clear.confirm.button">
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
    <message id="prefs.api.title">
        <source>HTTP API</source>
        <translation>HTTP-API</translation>
    </message>
    <message id="prefs.api.server.title">
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message id="prefs.api.enable">
        <source>Enable the HTTP API</source>
        <translation>HTTP-API einschalten</translation>
    </message>
    <message id="prefs.api.enable.help">
        <source>Lets scripts capture text, read the history and change settings over HTTP.</source>
        <translation>Skripte können über HTTP Text aufnehmen, den Verlauf lesen und Einstellungen ändern.</translation>
    </message>
    <message id="prefs.api.port">
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message id="prefs.api.apply">
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message id="prefs.api.url">
        <source>Address:</source>
        <translation>Adresse:</translation>
    </message>
    <message id="prefs.api.docs">
        <source>Open API Documentation</source>
        <translation>API-Dokumentation öffnen</translation>
    </message>
    <message id="prefs.api.auth.title">
        <source>Access Token</source>
        <translation>Zugriffstoken</translation>
    </message>
    <message id="prefs.api.token.placeholder">
        <source>No token</source>
        <translation>Kein Token</translation>
    </message>
    <message id="prefs.api.token.hint">
        <source>Without a token only programs on this computer can use the API. With one, other computers on your network can too, and every request must send it as “Authorization: Bearer &lt;token&gt;”. Press Apply after changing the switch, the port or the token.</source>
        <translation>Ohne Token können nur Programme auf diesem Computer die API nutzen. Mit Token auch andere Computer in Ihrem Netzwerk; jede Anfrage muss es dann als „Authorization: Bearer &lt;token&gt;“ senden. Drücken Sie nach einer Änderung des Schalters, des Ports oder des Tokens auf „Übernehmen“.</translation>
    </message>
    <message id="prefs.api.endpoints.title">
        <source>Endpoints</source>
        <translation>Endpunkte</translation>
    </message>
    <message id="prefs.api.token.generate">
        <source>Generate</source>
        <translation>Erzeugen</translation>
    </message>
    <message id="prefs.api.token.regenerate">
        <source>Regenerate</source>
        <translation>Neu erzeugen</translation>
    </message>
    <message id="menu.capture">
        <source>Capture Text</source>
        <translation>Text aufnehmen</translation>
    </message>
    <message id="menu.history">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="menu.preferences">
        <source>Preferences…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message id="menu.legal">
        <source>Legal &amp; Info</source>
        <translation>Rechtliches &amp; Info</translation>
    </message>
    <message id="menu.about">
        <source>About Quillora</source>
        <translation>Über Quillora</translation>
    </message>
    <message id="menu.quickstart">
        <source>Quick Start</source>
        <translation>Schnellstart</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Quillora</source>
        <translation>Quillora beenden</translation>
    </message>
    <message id="tray.alreadyRunning">
        <source>Quillora is already running. Open its menu here, or press %1 to capture text.</source>
        <translation>Quillora läuft bereits. Öffnen Sie hier sein Menü oder drücken Sie %1, um Text aufzunehmen.</translation>
    </message>
    <message id="tray.tooltip">
        <source>Quillora: %1 captures text</source>
        <translation>Quillora: %1 nimmt Text auf</translation>
    </message>
    <message id="tray.hotkeyHeld">
        <source>%1 cannot be the capture hotkey: another program uses it. Choose another hotkey in Preferences, or bind “quillora --capture” to a shortcut of your desktop.</source>
        <translation>%1 kann nicht das Tastenkürzel für die Aufnahme sein: Ein anderes Programm verwendet es. Wählen Sie in den Einstellungen ein anderes, oder legen Sie „quillora --capture“ auf ein Tastenkürzel Ihres Desktops.</translation>
    </message>
    <message id="tray.hotkeyUnavailable">
        <source>%1 cannot be the capture hotkey on this desktop. Choose another hotkey in Preferences, or bind “quillora --capture” to a shortcut of your desktop.</source>
        <translation>%1 kann auf diesem Desktop nicht das Tastenkürzel für die Aufnahme sein. Wählen Sie in den Einstellungen ein anderes, oder legen Sie „quillora --capture“ auf ein Tastenkürzel Ihres Desktops.</translation>
    </message>
    <message id="permission.required.title">
        <source>Quillora cannot capture the screen</source>
        <translation>Quillora kann den Bildschirm nicht aufnehmen</translation>
    </message>
    <message id="permission.required.message">
        <source>Quillora needs to read the screen to find text on it, and that is not possible in this session. Under Wayland the desktop's screenshot portal is missing or refused.

The help page explains how to allow it on GNOME and KDE Plasma. Start Quillora again afterwards.</source>
        <translation>Quillora muss den Bildschirm lesen, um Text darauf zu finden, und das ist in dieser Sitzung nicht möglich. Unter Wayland fehlt das Bildschirmfoto-Portal des Desktops oder es hat abgelehnt.

Die Hilfeseite erklärt, wie Sie es unter GNOME und KDE Plasma erlauben. Starten Sie Quillora danach erneut.</translation>
    </message>
    <message id="permission.button.settings">
        <source>Open Help</source>
        <translation>Hilfe öffnen</translation>
    </message>
    <message id="permission.button.quit">
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message id="permission.button.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="editor.save">
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message id="editor.recapture">
        <source>Capture Again</source>
        <translation>Erneut aufnehmen</translation>
    </message>
    <message id="sidebar.date.now">
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message id="sidebar.date.seconds">
        <source>%1 sec. ago</source>
        <translation>vor %1 Sek.</translation>
    </message>
    <message id="sidebar.date.minutes">
        <source>%1 min. ago</source>
        <translation>vor %1 Min.</translation>
    </message>
    <message id="sidebar.date.hours">
        <source>%1 hr. ago</source>
        <translation>vor %1 Std.</translation>
    </message>
    <message id="sidebar.date.day">
        <source>%1 day ago</source>
        <translation>vor %1 Tag</translation>
    </message>
    <message id="sidebar.date.days">
        <source>%1 days ago</source>
        <translation>vor %1 Tagen</translation>
    </message>
    <message id="sidebar.date.week">
        <source>%1 wk. ago</source>
        <translation>vor %1 Woche</translation>
    </message>
    <message id="sidebar.date.weeks">
        <source>%1 wk. ago</source>
        <translation>vor %1 Wochen</translation>
    </message>
    <message id="sidebar.date.month">
        <source>%1 mo. ago</source>
        <translation>vor %1 Monat</translation>
    </message>
    <message id="sidebar.date.months">
        <source>%1 mo. ago</source>
        <translation>vor %1 Monaten</translation>
    </message>
    <message id="sidebar.date.year">
        <source>%1 yr. ago</source>
        <translation>vor %1 Jahr</translation>
    </message>
    <message id="sidebar.date.years">
        <source>%1 yr. ago</source>
        <translation>vor %1 Jahren</translation>
    </message>
    <message id="tooltip.screenshot">
        <source>Show Screenshot</source>
        <translation>Bildschirmfoto zeigen</translation>
    </message>
    <message id="tooltip.copy">
        <source>Copy to Clipboard</source>
        <translation>In die Zwischenablage kopieren</translation>
    </message>
    <message id="tooltip.edit">
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message id="tooltip.delete">
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message id="sidebar.capture">
        <source>Capture Text</source>
        <translation>Text aufnehmen</translation>
    </message>
    <message id="sidebar.title">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="editor.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="editor.title">
        <source>Captured Text</source>
        <translation>Erkannter Text</translation>
    </message>
    <message id="notification.noText.title">
        <source>No text found</source>
        <translation>Kein Text gefunden</translation>
    </message>
    <message id="notification.noText.languages">
        <source>Recognised languages: %1</source>
        <translation>Erkennbare Sprachen: %1</translation>
    </message>
    <message id="prefs.text.clipboard.title">
        <source>Clipboard</source>
        <translation>Zwischenablage</translation>
    </message>
    <message id="prefs.text.primary">
        <source>Also paste with the middle button</source>
        <translation>Auch mit der mittleren Maustaste einfügen</translation>
    </message>
    <message id="prefs.text.primary.help">
        <source>Puts the captured text into the primary selection as well, which a click of the middle mouse button pastes.</source>
        <translation>Legt den erkannten Text auch in die primäre Auswahl, die ein Klick mit der mittleren Maustaste einfügt.</translation>
    </message>
</context>
</TS>
