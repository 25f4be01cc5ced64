#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kivo {

// An event that stays signalled until it is reset, for one thread to wait
// on another's work.
class ManualResetEvent {
public:
    void Set()
    {
        {
            std::lock_guard lock(m_mutex);
            m_signalled = true;
        }
        m_changed.notify_all();
    }

    void Reset()
    {
        std::lock_guard lock(m_mutex);
        m_signalled = false;
    }

    void Wait()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_signalled; });
    }

    // Whether the event was signalled within `timeout`.
    bool WaitFor(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [this] { return m_signalled; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled = false;
};

}  // namespace kivo
