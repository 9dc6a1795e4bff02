#pragma once

#include <QObject>
#include <QPointer>

// A weak reference to a callback interface. Delegates are plain interfaces, so QPointer cannot hold them
// directly; when the implementer is also a QObject its destruction is noticed through a QPointer to it, and
// get() answers null from then on. An implementer that is not a QObject must outlive its use, as with a raw
// pointer. Not thread-safe: set and read it on the thread of its owner.
template <typename T>
class WeakDelegate {
public:
    WeakDelegate() = default;
    WeakDelegate(T* delegate) { set(delegate); }

    void set(T* delegate)
    {
        m_delegate = delegate;
        m_object = dynamic_cast<QObject*>(delegate);
        m_isObject = m_object != nullptr;
    }

    T* get() const { return m_isObject && m_object.isNull() ? nullptr : m_delegate; }
    explicit operator bool() const { return get() != nullptr; }

private:
    T* m_delegate = nullptr;
    QPointer<QObject> m_object;
    bool m_isObject = false;
};
