#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows the busy cursor for the life of the guard, so an exception in the middle of a long
// operation never leaves it behind.
namespace platform {

class HourGlass {
public:
    HourGlass()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            m_active = true;
        }
    }
    ~HourGlass()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;

private:
    bool m_active = false;
};

} // namespace platform
