#pragma once

#include "core/platform/LoginItem.h"

#include <QList>

// A login item that remembers its state and every request; failNext makes the next change fail.
class FakeLoginItem : public LoginItem {
public:
    bool isEnabled() const override { return m_enabled; }
    bool setEnabled(bool enabled, QString* error) override;

    QString failNext; // when not empty, the next setEnabled fails with this description
    QList<bool> requests;

private:
    bool m_enabled = false;
};
