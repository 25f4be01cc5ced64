#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

#include <functional>
#include <memory>
#include <mutex>

namespace kivo {

// How a worker thread reaches an object that lives on another thread, and
// may be gone before the worker ends: what the worker posts is carried out
// on the object's thread while the object holds the link, and dropped once
// it has cut it, even when already on its way. Workers keep the link alive
// by the shared pointer they were given, so a worker left running reaches
// nothing.
template <class Target>
class WorkerLink : public std::enable_shared_from_this<WorkerLink<Target>> {
public:
    explicit WorkerLink(Target& target) : m_target(&target) {}

    // Has `call` made with the target on its thread.
    void Post(std::function<void(Target&)> call)
    {
        const std::lock_guard lock(m_mutex);
        if (m_target == nullptr)
            return;
        QMetaObject::invokeMethod(
            m_target,
            [link = this->shared_from_this(), call = std::move(call)] {
                if (Target* target = link->Held())
                    call(*target);
            },
            Qt::QueuedConnection);
    }

    // Posts `event` to the target (which then owns it), or deletes it.
    void PostEvent(QEvent* event)
    {
        const std::lock_guard lock(m_mutex);
        if (m_target != nullptr)
            QCoreApplication::postEvent(m_target, event);
        else
            delete event;
    }

    // Called on the target's thread, before it goes or when the work is
    // no longer wanted.
    void Cut()
    {
        const std::lock_guard lock(m_mutex);
        m_target = nullptr;
    }

private:
    Target* Held()
    {
        const std::lock_guard lock(m_mutex);
        return m_target;
    }

    std::mutex m_mutex;
    Target* m_target;  // null once cut
};

}  // namespace kivo
