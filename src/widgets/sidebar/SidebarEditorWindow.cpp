#include "widgets/sidebar/SidebarEditorWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int Margin = 8;
constexpr int TextPixelSize = 13;
constexpr int TextInset = 4;
constexpr int ButtonMinimumWidth = 70;
constexpr qreal CornerRadius = 12;

} // namespace

SidebarEditorWindow::SidebarEditorWindow(const QString& text, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("sidebarEditor"));
    setWindowTitle(QStringLiteral("Quillora Entry"));
    setFixedSize(Width, Height);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);

    m_textView = new QPlainTextEdit(this);
    m_textView->setObjectName(QStringLiteral("textView"));
    QFont font = m_textView->font();
    font.setPixelSize(TextPixelSize);
    m_textView->setFont(font);
    m_textView->setFrameShape(QFrame::NoFrame);
    m_textView->document()->setDocumentMargin(TextInset);
    m_textView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_textView->setUndoRedoEnabled(true);
    m_textView->setPlainText(text);
    m_textView->installEventFilter(this);

    //% "Save"
    m_saveButton = new QPushButton(qtTrId("editor.save"), this);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    //% "Cancel"
    m_cancelButton = new QPushButton(qtTrId("editor.cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton* button : {m_cancelButton, m_saveButton}) {
        button->setMinimumWidth(ButtonMinimumWidth);
        button->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Margin);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(Margin);
    layout->addWidget(m_textView, 1);
    layout->addLayout(buttons);

    connect(m_saveButton, &QPushButton::clicked, this, &SidebarEditorWindow::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &SidebarEditorWindow::cancel);

    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setDuration(FadeMs);

    // Escape cancels from any window of the program while the editor is open.
    qApp->installEventFilter(this);
    m_escapeFilterInstalled = true;
}

SidebarEditorWindow::~SidebarEditorWindow()
{
    removeEscapeFilter();
}

void SidebarEditorWindow::fadeIn()
{
    m_dismissing = false;
    m_textView->selectAll();
    m_textView->setFocus(Qt::ActiveWindowFocusReason);
    setWindowOpacity(0);
    show();
    raise();
    // The sidebar does not take the keyboard; this window must, for the user types into it.
    activateWindow();
    m_fade->stop();
    m_fade->setEasingCurve(QEasingCurve::OutQuad);
    m_fade->setStartValue(0.0);
    m_fade->setEndValue(1.0);
    m_fade->start();
}

void SidebarEditorWindow::save()
{
    const QString text = m_textView->toPlainText();
    if (text.isEmpty()) {
        cancel();
        return;
    }
    dismiss([this, text] {
        if (onSave)
            onSave(text);
    });
}

void SidebarEditorWindow::cancel()
{
    dismiss([this] {
        if (onCancel)
            onCancel();
    });
}

void SidebarEditorWindow::dismiss(std::function<void()> then)
{
    if (m_dismissing)
        return;
    m_dismissing = true;
    removeEscapeFilter();
    m_fade->stop();
    m_fade->setEasingCurve(QEasingCurve::InQuad);
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(0.0);
    // The callback may release this window; it runs last.
    connect(m_fade, &QPropertyAnimation::finished, this, [this, then = std::move(then)] {
        disconnect(m_fade, &QPropertyAnimation::finished, this, nullptr);
        hide();
        then();
    });
    m_fade->start();
}

void SidebarEditorWindow::removeEscapeFilter()
{
    if (m_escapeFilterInstalled) {
        qApp->removeEventFilter(this);
        m_escapeFilterInstalled = false;
    }
}

bool SidebarEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && m_escapeFilterInstalled) {
        // A capture overlay holds the keyboard while it is open; its Escape ends the capture, not this edit.
        const QWidget* grabber = QWidget::keyboardGrabber();
        if (!grabber || grabber == this || isAncestorOf(grabber)) {
            cancel();
            return true;
        }
    }
    // Return saves, as the Save button says; Shift+Return still starts a new line.
    if (watched == m_textView && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        !(key->modifiers() & Qt::ShiftModifier)) {
        save();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SidebarEditorWindow::closeEvent(QCloseEvent* event)
{
    removeEscapeFilter();
    QWidget::closeEvent(event);
}

void SidebarEditorWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A shape rather than a translucent window: the corners stay clear without a compositing manager as well.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), CornerRadius, CornerRadius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}
