#include "TSleeper.h"

#include <QEventLoop>
#include <QTimer>

TSleeper::TSleeper(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
}

TSleeper::~TSleeper() = default;

int TSleeper::Interval() const
{
    return m_timer != nullptr ? m_timer->interval() : 0;
}

void TSleeper::SetInterval(int ms)
{
    if (m_timer != nullptr)
        m_timer->setInterval(ms);
}

void TSleeper::TimerTick()
{
    m_done = true;
}

void TSleeper::Sleep()
{
    if (m_timer == nullptr)
        return;
    m_done = false;
    QEventLoop loop;
    const auto tick = connect(m_timer, &QTimer::timeout, &loop, [&] {
        TimerTick();
        loop.quit();
    });
    m_timer->start();
    // The loop sleeps in the system until an event or the timer comes. It also ends early when
    // the program is asked to quit meanwhile.
    if (!m_done)
        loop.exec();
    m_timer->stop();
    disconnect(tick);
}
