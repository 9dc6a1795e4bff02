#include "platform/linux/InlineOpenMPSections.h"

#include <dlfcn.h>

// The program defines the three libgomp entry points a combined `parallel sections` construct calls, and the
// executable exports them (see CMakeLists.txt), so that libtesseract's calls reach these first; each passes the
// call on to libgomp unless the calling thread runs its regions inline.

namespace {

// The sections of the inline region running on this thread; regions nest, each restoring the outer one's state.
struct InlineRegion {
    unsigned next = 0;
    unsigned count = 0;
    bool active = false;
};

thread_local bool enabled = false;
thread_local InlineRegion region;

template <typename Function>
Function libgompEntry(const char* name, const char* version)
{
    return reinterpret_cast<Function>(dlvsym(RTLD_NEXT, name, version));
}

using ParallelSections = void (*)(void (*)(void*), void*, unsigned, unsigned, unsigned);
using SectionsNext = unsigned (*)();
using SectionsEnd = void (*)();

} // namespace

void InlineOpenMPSections::enableOnCallingThread()
{
    enabled = true;
}

extern "C" {

// NOLINTBEGIN(readability-identifier-naming): libgomp's names.
void GOMP_parallel_sections(void (*body)(void*), void* data, unsigned threads, unsigned count, unsigned flags)
{
    static const auto real = libgompEntry<ParallelSections>("GOMP_parallel_sections", "GOMP_4.0");
    if (!enabled && real) {
        real(body, data, threads, count, flags);
        return;
    }
    const InlineRegion outer = region;
    region = {1, count, true};
    body(data);
    region = outer;
}

unsigned GOMP_sections_next()
{
    static const auto real = libgompEntry<SectionsNext>("GOMP_sections_next", "GOMP_1.0");
    if (!region.active)
        return real ? real() : 0;
    // Sections are numbered from 1; 0 says none is left.
    return region.next <= region.count ? region.next++ : 0;
}

void GOMP_sections_end_nowait()
{
    static const auto real = libgompEntry<SectionsEnd>("GOMP_sections_end_nowait", "GOMP_1.0");
    if (!region.active && real)
        real();
}
// NOLINTEND(readability-identifier-naming)
}
