#pragma once

#include <cstdlib>
#include <memory>

// Owns a reply or error that XCB allocated with malloc.
struct XcbFree {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;
