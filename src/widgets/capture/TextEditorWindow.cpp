#include "widgets/capture/TextEditorWindow.h"

#include "core/capture/TextEditorPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr QSize InitialSize(500, 300);
constexpr QSize MinimumSize(300, 150);
constexpr int TextPixelSize = 13;
constexpr int TextInset = 4;
constexpr int ButtonInsetX = 12;
constexpr int ButtonInsetBottom = 8;
constexpr int SaveButtonMinimumWidth = 80;

} // namespace

TextEditorWindow::TextEditorWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("textEditorWindow"));
    //% "Captured Text"
    setWindowTitle(qtTrId("editor.title"));
    setMinimumSize(MinimumSize);
    resize(InitialSize);

    m_textView = new QPlainTextEdit(this);
    m_textView->setObjectName(QStringLiteral("textView"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(TextPixelSize);
    m_textView->setFont(font);
    m_textView->document()->setDocumentMargin(TextInset);
    m_textView->setFrameShape(QFrame::NoFrame);
    m_textView->setUndoRedoEnabled(true);
    m_textView->setTabChangesFocus(false);

    //% "Save"
    m_saveButton = new QPushButton(qtTrId("editor.save"), this);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setMinimumWidth(SaveButtonMinimumWidth);
    m_saveButton->setDefault(false);
    m_saveButton->setAutoDefault(false);
    //% "Capture Again"
    m_recaptureButton = new QPushButton(qtTrId("editor.recapture"), this);
    m_recaptureButton->setObjectName(QStringLiteral("recaptureButton"));
    m_recaptureButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(ButtonInsetX, 0, ButtonInsetX, ButtonInsetBottom);
    buttons->addWidget(m_recaptureButton);
    buttons->addStretch();
    buttons->addWidget(m_saveButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_textView, 1);
    layout->addLayout(buttons);

    connect(m_saveButton, &QPushButton::clicked, this, &TextEditorWindow::saveAndClose);
    connect(m_recaptureButton, &QPushButton::clicked, this, &TextEditorWindow::recaptureAction);
    // A shortcut of its own rather than the button's, which would only click after its press animation.
    auto* saveShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(saveShortcut, &QShortcut::activated, this, &TextEditorWindow::saveAndClose);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TextEditorWindow::~TextEditorWindow()
{
    removeEscapeFilter();
}

void TextEditorWindow::showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                                      std::function<void()> recaptureHandler)
{
    show(text, std::move(completion), std::move(recaptureHandler));
}

void TextEditorWindow::show(const QString& text, Completion completion, RecaptureHandler recaptureHandler)
{
    m_completion = std::move(completion);
    m_recaptureHandler = std::move(recaptureHandler);
    m_textView->setPlainText(text);
    m_recaptureButton->setVisible(bool(m_recaptureHandler));

    placeNextToPointer();
    QWidget::show();
    raise();
    activateWindow();

    m_textView->selectAll();
    m_textView->setFocus(Qt::ActiveWindowFocusReason);

    if (!m_escapeFilterInstalled) {
        qApp->installEventFilter(this);
        m_escapeFilterInstalled = true;
    }
}

QString TextEditorWindow::text() const
{
    return m_textView->toPlainText();
}

void TextEditorWindow::placeNextToPointer()
{
    const QScreen* primaryScreen = QGuiApplication::primaryScreen();
    if (!primaryScreen)
        return;
    // The monitor the user just selected on: the pointer is still there, and so was the overlay window that had
    // the keyboard. Opening on the primary monitor instead would put the editor far from the text.
    const QPoint cursor = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = primaryScreen;
    // The frame includes the title bar once the window manager has decorated the window.
    const QSizeF size =
        isVisible() || testAttribute(Qt::WA_WState_Created) ? QSizeF(frameGeometry().size()) : QSizeF(this->size());
    const QRectF frame =
        TextEditorPlacement::frameNextToPointer(QPointF(cursor), size, QRectF(screen->availableGeometry()));
    move(frame.topLeft().toPoint());
}

void TextEditorWindow::removeEscapeFilter()
{
    if (m_escapeFilterInstalled) {
        qApp->removeEventFilter(this);
        m_escapeFilterInstalled = false;
    }
}

void TextEditorWindow::saveAndClose()
{
    removeEscapeFilter();
    Completion completion = std::exchange(m_completion, {});
    m_recaptureHandler = {};
    const QString edited = m_textView->toPlainText();
    hide();
    if (completion)
        completion(edited);
}

void TextEditorWindow::cancel()
{
    removeEscapeFilter();
    Completion completion = std::exchange(m_completion, {});
    m_recaptureHandler = {};
    hide();
    if (completion)
        completion(std::nullopt);
}

void TextEditorWindow::recaptureAction()
{
    removeEscapeFilter();
    RecaptureHandler handler = std::exchange(m_recaptureHandler, {});
    m_completion = {};
    hide();
    if (handler)
        QTimer::singleShot(RecaptureDelayMs, this, std::move(handler));
}

bool TextEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // A capture overlay opened over the editor holds the keyboard; its Escape cancels the capture, not this.
        const QWidget* grabber = QWidget::keyboardGrabber();
        if (!grabber || grabber == this || isAncestorOf(grabber)) {
            cancel();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TextEditorWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    cancel();
}

void TextEditorWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}
