#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTableWidget>

// Long work runs on the GUI thread; the overlay's wheel and the window stay
// alive as long as events are handled every few dozen milliseconds. Doing it
// per cell, as often as possible, made adding thousands of files crawl, and
// a round can cost more as the table grows, so the pause between rounds grows
// to keep them to a fifth of the time.
class EventPump
{
public:
    EventPump() { m_clock.start(); }
    // True when it handled events (a good moment to show progress).
    bool pump()
    {
        if (m_clock.elapsed() < m_interval)
            return false;
        QElapsedTimer spent;
        spent.start();
        QCoreApplication::processEvents();
        m_interval = qMax<qint64>(kMinimumInterval, 4 * spent.elapsed());
        m_clock.restart();
        return true;
    }

private:
    static constexpr qint64 kMinimumInterval = 40;
    QElapsedTimer m_clock;
    qint64 m_interval = kMinimumInterval;
};
