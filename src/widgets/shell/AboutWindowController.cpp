#include "widgets/shell/AboutWindowController.h"

#include "widgets/common/EscClosableWindow.h"
#include "widgets/common/WindowStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

struct Library {
    const char* name;
    const char* use;
    const char* license;
};

QString libraryTable()
{
    //% "user interface, images, networking"
    const QString ui = qtTrId("about.library.qt");
    //% "text recognition"
    const QString ocr = qtTrId("about.library.tesseract");
    //% "image handling for text recognition"
    const QString images = qtTrId("about.library.leptonica");
    //% "settings and history files, HTTP API"
    const QString json = qtTrId("about.library.json");
    //% "screen capture and global hotkey"
    const QString x11 = qtTrId("about.library.xcb");
    const QList<std::tuple<QString, QString, QString>> rows = {
        {QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())), ui, QStringLiteral("LGPLv3")},
        {QStringLiteral("Tesseract OCR"), ocr, QStringLiteral("Apache-2.0")},
        {QStringLiteral("Leptonica"), images, QStringLiteral("BSD-2-Clause-like")},
        {QStringLiteral("nlohmann/json"), json, QStringLiteral("MIT")},
        {QStringLiteral("XCB"), x11, QStringLiteral("MIT/X11")},
    };
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">");
    for (const auto& [name, use, license] : rows)
        html += QStringLiteral("<tr><td><b>%1</b><br><span style=\"color:#6b6b70;\">%2</span></td>"
                               "<td align=\"right\" valign=\"top\">%3</td></tr>")
                    .arg(name.toHtmlEscaped(), use.toHtmlEscaped(), license);
    return html + QStringLiteral("</table>");
}

QString licenseText()
{
    // The license itself is a legal text and stays in its original English wording.
    return QStringLiteral(
        "<p style=\"color:#6b6b70;\"><b>MIT License</b><br>Copyright (c) the Quillora contributors<br><br>"
        "Permission is hereby granted, free of charge, to any person obtaining a copy of this software and "
        "associated documentation files (the \"Software\"), to deal in the Software without restriction, "
        "including without limitation the rights to use, copy, modify, merge, publish, distribute, sublicense, "
        "and/or sell copies of the Software, and to permit persons to whom the Software is furnished to do so, "
        "subject to the following conditions:<br><br>"
        "The above copyright notice and this permission notice shall be included in all copies or substantial "
        "portions of the Software.<br><br>"
        "THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT "
        "LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN "
        "NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, "
        "WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE "
        "SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.</p>");
}

} // namespace

AboutWindowController::AboutWindowController()
    : m_window(std::make_unique<EscClosableWindow>())
{
    EscClosableWindow* window = m_window.get();
    //% "About Quillora"
    window->setWindowTitle(qtTrId("about.title"));
    window->setObjectName(QStringLiteral("aboutWindow"));
    window->resize(480, 560);
    window->setMinimumSize(400, 420);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(WindowStyle::Margin, WindowStyle::Margin, WindowStyle::Margin, WindowStyle::Margin);
    layout->setSpacing(WindowStyle::Spacing);

    auto* header = new QHBoxLayout;
    header->setSpacing(WindowStyle::Spacing);
    header->addWidget(WindowStyle::icon(64, window), 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    titles->addWidget(WindowStyle::heading(QStringLiteral("Quillora"), window));
    //% "Version %1"
    auto* version = WindowStyle::body(qtTrId("about.version").arg(QStringLiteral(QUILLORA_VERSION)), window);
    version->setObjectName(QStringLiteral("aboutVersion"));
    titles->addWidget(version);
    //% "Copies text from anywhere on your screen. Recognition runs on your computer; nothing leaves it."
    titles->addWidget(WindowStyle::body(qtTrId("about.tagline"), window));
    header->addLayout(titles, 1);
    layout->addLayout(header);

    //% "Quillora is free and open-source software under the MIT License."
    auto* license = WindowStyle::body(qtTrId("about.license"), window);
    license->setObjectName(QStringLiteral("aboutLicense"));
    layout->addWidget(license);

    auto* details = new QTextBrowser(window);
    details->setObjectName(QStringLiteral("aboutDetails"));
    details->document()->setDocumentMargin(12);
    //% "Built with"
    details->setHtml(QStringLiteral("<h4>%1</h4>").arg(qtTrId("about.libraries.heading")) + libraryTable() +
                     licenseText());
    layout->addWidget(details, 1);

    //% "© the Quillora contributors"
    layout->addWidget(WindowStyle::body(qtTrId("about.copyright"), window));
    WindowStyle::centerOnScreen(window);
}

AboutWindowController::~AboutWindowController() = default;

void AboutWindowController::showWindow()
{
    WindowStyle::bringToFront(m_window.get());
}
