#pragma once

#include <any>
#include <chrono>
#include <condition_variable>
#include <mutex>

// A box for one answer computed on the main thread while the server thread waits for it. The first value put
// in wins; a value put in after the waiter gave up is dropped, so a late answer never leaks into a later one.
class ResultCell {
public:
    explicit ResultCell(std::any fallback);

    void put(std::any value);
    // Wakes the waiter at once with the default (the server is stopping).
    void cancel();
    // The value put in within the time-out, or the default.
    std::any waitFor(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_signal;
    std::any m_value;
    bool m_done = false;
};
