#pragma once

#include <QWidget>

// A plain top-level window that closes when the user presses Escape in it.
class EscClosableWindow : public QWidget {
    Q_OBJECT

public:
    explicit EscClosableWindow(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
