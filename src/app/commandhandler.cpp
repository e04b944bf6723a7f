#include "app/commandhandler.h"

#include "app/command.h"
#include "app/commandobserver.h"

#include <QDebug>

CommandHandler *CommandHandler::instance()
{
    static CommandHandler *handler = new CommandHandler;
    return handler;
}

void CommandHandler::addObserver(CommandObserver *observer)
{
    m_observers.append(observer);
    qDebug().nospace() << "Number of command observers: " << m_observers.size();
}

// Every copy goes: an observer registered twice and then destroyed must not
// stay behind as a dangling pointer.
void CommandHandler::removeObserver(CommandObserver *observer)
{
    m_observers.removeAll(observer);
}

void CommandHandler::dispatch(Command &command)
{
    // By index, so an observer removed during the dispatch is not called.
    for (int i = 0; i < m_observers.size(); ++i)
        m_observers.at(i)->handleCommand(command);
}
