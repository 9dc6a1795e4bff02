#include "widgets/shell/LegalAcceptanceWindowController.h"

#include "core/support/Log.h"

#include "core/settings/AppSettings.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/common/WindowStyle.h"
#include "widgets/shell/LegalInfoWindowController.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

LegalAcceptanceWindowController::LegalAcceptanceWindowController(AppSettings& settings, std::function<void()> onAccept,
                                                                 std::function<void()> onDecline)
    : m_settings(settings)
    , m_onAccept(std::move(onAccept))
    , m_onDecline(std::move(onDecline))
    , m_window(std::make_unique<EscClosableWindow>())
{
    EscClosableWindow* window = m_window.get();
    //% "Welcome to Quillora"
    window->setWindowTitle(qtTrId("legal.acceptance.title"));
    window->setObjectName(QStringLiteral("legalAcceptanceWindow"));
    window->resize(600, 620);
    window->setMinimumSize(460, 420);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(WindowStyle::Margin, WindowStyle::Margin, WindowStyle::Margin, WindowStyle::Margin);
    layout->setSpacing(WindowStyle::Spacing);

    auto* header = new QHBoxLayout;
    header->setSpacing(WindowStyle::Spacing);
    header->addWidget(WindowStyle::icon(48, window), 0, Qt::AlignTop);
    auto* intro = new QVBoxLayout;
    intro->addWidget(WindowStyle::heading(qtTrId("legal.acceptance.title"), window));
    //% "Quillora copies text from anywhere on your screen, and does all of its work on your computer. Before "
    //% "you start, please read the terms of use and the privacy notice below."
    intro->addWidget(WindowStyle::body(qtTrId("legal.acceptance.intro"), window));
    header->addLayout(intro, 1);
    layout->addLayout(header);

    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("legalText"));
    text->setOpenExternalLinks(true);
    text->document()->setDocumentMargin(WindowStyle::DocumentMargin);
    text->setHtml(LegalInfoWindowController::content(LegalInfoWindowController::Terms) +
                  LegalInfoWindowController::content(LegalInfoWindowController::Privacy));
    layout->addWidget(text, 1);

    auto* buttons = new QDialogButtonBox(window);
    //% "Decline and Quit"
    m_declineButton = buttons->addButton(qtTrId("legal.acceptance.decline"), QDialogButtonBox::RejectRole);
    //% "Accept"
    m_acceptButton = buttons->addButton(qtTrId("legal.acceptance.accept"), QDialogButtonBox::AcceptRole);
    m_acceptButton->setDefault(true);
    layout->addWidget(buttons);

    connect(m_acceptButton, &QPushButton::clicked, this, &LegalAcceptanceWindowController::accept);
    connect(m_declineButton, &QPushButton::clicked, this, &LegalAcceptanceWindowController::decline);
    window->installEventFilter(this);
    WindowStyle::centerOnScreen(window);
}

LegalAcceptanceWindowController::~LegalAcceptanceWindowController()
{
    m_window->removeEventFilter(this);
}

void LegalAcceptanceWindowController::showWindow()
{
    WindowStyle::bringToFront(m_window.get());
    m_acceptButton->setFocus();
}

bool LegalAcceptanceWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close && !m_decided)
        decline();
    return QObject::eventFilter(watched, event);
}

void LegalAcceptanceWindowController::accept()
{
    if (m_decided)
        return;
    m_decided = true;
    qCInfo(lcApp).noquote() << QStringLiteral("Legal terms accepted");
    m_settings.setHasAcceptedLegal();
    m_window->close();
    // The callback may go on to build the whole application; it is the last thing done here.
    if (auto callback = std::move(m_onAccept))
        callback();
}

void LegalAcceptanceWindowController::decline()
{
    if (m_decided)
        return;
    m_decided = true;
    qCInfo(lcApp).noquote() << QStringLiteral("Legal terms declined - quitting app");
    m_window->hide();
    if (auto callback = std::move(m_onDecline))
        callback();
}
