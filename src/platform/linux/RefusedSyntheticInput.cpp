#include "platform/linux/RefusedSyntheticInput.h"

#include <utility>

RefusedSyntheticInput::RefusedSyntheticInput(QString reason)
    : m_reason(std::move(reason))
{}
