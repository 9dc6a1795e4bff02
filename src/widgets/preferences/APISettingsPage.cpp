#include "widgets/preferences/APISettingsPage.h"

#include "core/settings/APIConnectionInfo.h"
#include "core/settings/AppSettings.h"
#include "widgets/preferences/APIEndpointRow.h"
#include "widgets/preferences/PreferencesDelegate.h"
#include "widgets/preferences/SettingsSection.h"
#include "widgets/preferences/SettingsToggle.h"
#include "widgets/preferences/ToggleSwitch.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Tokens are sent in a request header, whose size the server bounds; a generated one has 36 characters.
constexpr int MaxTokenLength = 256;

std::optional<int> validPort(const QString& text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

bool isValidPort(qint64 port)
{
    return port >= 1 && port <= 65535;
}

} // namespace

APISettingsPage::APISettingsPage(AppSettings& settings, PreferencesDelegate& delegate, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_delegate(delegate)
{
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(18);
    //% "HTTP API"
    layout->addWidget(SettingsSection::pageHeading(qtTrId("prefs.api.title"), this));

    //% "Server"
    auto* server = new SettingsSection(qtTrId("prefs.api.server.title"), this);
    m_enable = new SettingsToggle(
        //% "Enable the HTTP API"
        qtTrId("prefs.api.enable"),
        //% "Lets scripts capture text, read the history and change settings over HTTP."
        qtTrId("prefs.api.enable.help"), server);
    server->addWidget(m_enable);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    //% "Port:"
    grid->addWidget(new QLabel(qtTrId("prefs.api.port"), server), 0, 0);
    auto* portRow = new QHBoxLayout;
    portRow->setSpacing(8);
    m_port = new QLineEdit(server);
    m_port->setFixedWidth(80);
    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), m_port));
    m_port->setAccessibleName(qtTrId("prefs.api.port"));
    portRow->addWidget(m_port);
    //% "Apply"
    m_apply = new QPushButton(qtTrId("prefs.api.apply"), server);
    portRow->addWidget(m_apply);
    portRow->addStretch(1);
    grid->addLayout(portRow, 0, 1);
    //% "Address:"
    grid->addWidget(new QLabel(qtTrId("prefs.api.url"), server), 1, 0);
    m_address = SettingsSection::caption(QString(), server);
    m_address->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_address->setAccessibleName(qtTrId("prefs.api.url"));
    grid->addWidget(m_address, 1, 1);
    grid->setColumnStretch(1, 1);
    server->addLayout(grid);
    //% "Open API Documentation"
    m_docs = new QPushButton(qtTrId("prefs.api.docs"), server);
    m_docs->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    server->addWidget(m_docs);
    layout->addWidget(server);

    //% "Access Token"
    auto* auth = new SettingsSection(qtTrId("prefs.api.auth.title"), this);
    auto* tokenRow = new QHBoxLayout;
    m_token = new QLineEdit(auth);
    m_token->setEchoMode(QLineEdit::Password);
    m_token->setMaxLength(MaxTokenLength);
    m_token->setFixedWidth(200);
    //% "No token"
    m_token->setPlaceholderText(qtTrId("prefs.api.token.placeholder"));
    m_token->setAccessibleName(qtTrId("prefs.api.auth.title"));
    tokenRow->addWidget(m_token);
    m_generate = new QPushButton(auth);
    tokenRow->addWidget(m_generate);
    tokenRow->addStretch(1);
    auth->addLayout(tokenRow);
    auth->addWidget(SettingsSection::caption(
        //% "Without a token only programs on this computer can use the API. With one, other computers on your "
        //% "network can too, and every request must send it as “Authorization: Bearer <token>”. Press Apply after "
        //% "changing the switch, the port or the token."
        qtTrId("prefs.api.token.hint"), auth));
    layout->addWidget(auth);

    //% "Endpoints"
    auto* endpoints = new SettingsSection(qtTrId("prefs.api.endpoints.title"), this);
    const char* const routes[][3] = {
        {"GET", "/status", "Server status"},         {"GET", "/capture", "Start text capture"},
        {"GET", "/history", "List history entries"}, {"POST", "/history", "Add entry"},
        {"DELETE", "/history/:id", "Delete entry"},  {"GET", "/settings", "Get settings"},
        {"PUT", "/settings", "Update settings"},
    };
    for (const auto& route : routes)
        endpoints->addWidget(new APIEndpointRow(QString::fromLatin1(route[0]), QString::fromLatin1(route[1]),
                                                QString::fromLatin1(route[2]), endpoints));
    layout->addWidget(endpoints);
    layout->addStretch(1);

    setTabOrder(m_enable->toggleSwitch(), m_port);
    setTabOrder(m_port, m_apply);
    setTabOrder(m_apply, m_docs);
    setTabOrder(m_docs, m_token);
    setTabOrder(m_token, m_generate);

    connect(m_enable, &SettingsToggle::toggled, &m_settings, &AppSettings::setApiEnabled);
    // The port is taken when the person confirms it (Return, or leaving the field), not at every digit: on the way
    // to 65536 the field would pass through the valid 6553.
    connect(m_port, &QLineEdit::editingFinished, this, &APISettingsPage::commitPort);
    connect(m_apply, &QPushButton::clicked, this, [this] {
        commitPort();
        m_delegate.restartAPIServer();
    });
    connect(m_docs, &QPushButton::clicked, this,
            [this] { m_delegate.openURL(APIConnectionInfo::docsURL(m_settings.apiPort())); });
    connect(m_token, &QLineEdit::textEdited, &m_settings, &AppSettings::setApiToken);
    connect(m_generate, &QPushButton::clicked, this,
            [this] { m_settings.setApiToken(APIConnectionInfo::generateToken()); });
    reload();
}

void APISettingsPage::commitPort()
{
    const std::optional<int> port = validPort(m_port->text());
    if (!port) {
        // A text that is no port is not kept.
        m_port->setText(QString::number(m_settings.apiPort()));
        return;
    }
    m_port->setModified(false);
    if (*port != m_settings.apiPort())
        m_settings.setApiPort(*port);
}

void APISettingsPage::reload()
{
    m_enable->setChecked(m_settings.apiEnabled());
    const qint64 port = m_settings.apiPort();
    // What the person is typing stays until they confirm it.
    if (!m_port->isModified() && m_port->text() != QString::number(port))
        m_port->setText(QString::number(port));
    const QString token = m_settings.apiToken();
    if (m_token->text() != token)
        m_token->setText(token);
    if (token.isEmpty()) {
        //% "Generate"
        m_generate->setText(qtTrId("prefs.api.token.generate"));
    } else {
        //% "Regenerate"
        m_generate->setText(qtTrId("prefs.api.token.regenerate"));
    }
    m_address->setText(APIConnectionInfo::serverURL(token, port, APIConnectionInfo::systemInterfaces()));
    m_docs->setEnabled(isValidPort(port));
}
