#include "platform/fake/FakeLoginItem.h"

bool FakeLoginItem::setEnabled(bool enabled, QString* error)
{
    requests.append(enabled);
    if (!failNext.isEmpty()) {
        if (error)
            *error = failNext;
        failNext.clear();
        return false;
    }
    m_enabled = enabled;
    return true;
}
