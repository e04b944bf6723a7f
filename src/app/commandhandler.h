#pragma once

#include <QList>
#include <QObject>

struct Command;
class CommandObserver;

// In-process dispatcher through which widgets reach the application object
// without knowing it. Does not own its observers.
class CommandHandler : public QObject
{
    Q_OBJECT

public:
    static CommandHandler *instance();

    void addObserver(CommandObserver *observer);
    void removeObserver(CommandObserver *observer);
    void dispatch(Command &command);

    int observerCount() const { return m_observers.size(); }

private:
    CommandHandler() = default;

    QList<CommandObserver *> m_observers;
};
