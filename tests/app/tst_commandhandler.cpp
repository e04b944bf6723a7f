#include "app/command.h"
#include "app/commandhandler.h"
#include "app/commandobserver.h"
#include "common/logcapture.h"

#include <QtTest>

namespace {

struct RecordingObserver : CommandObserver
{
    RecordingObserver(QString name, QStringList *journal, bool answer = false)
        : name(std::move(name)), journal(journal), answer(answer) {}

    void handleCommand(Command &command) override
    {
        journal->append(QStringLiteral("%1:%2").arg(name).arg(command.id));
        if (answer)
            command.result = !command.result;
    }

    QString name;
    QStringList *journal;
    bool answer;
};

} // namespace

class TestCommandHandler : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void dispatchesInOrderOfRegistration();
    void logsObserverCount();
    void duplicateObserverIsCalledTwiceAndRemovedCompletely();
    void removingUnknownObserverChangesNothing();
    void observersCanAnswer();
    void observerRemovedDuringDispatchIsNotCalled();

private:
    QList<CommandObserver *> m_registered;
    void add(CommandObserver *observer)
    {
        CommandHandler::instance()->addObserver(observer);
        m_registered.append(observer);
    }
};

void TestCommandHandler::cleanup()
{
    for (CommandObserver *observer : qAsConst(m_registered))
        CommandHandler::instance()->removeObserver(observer);
    m_registered.clear();
    QCOMPARE(CommandHandler::instance()->observerCount(), 0);
}

void TestCommandHandler::dispatchesInOrderOfRegistration()
{
    QStringList journal;
    RecordingObserver first(QStringLiteral("first"), &journal);
    RecordingObserver second(QStringLiteral("second"), &journal);
    add(&first);
    add(&second);

    Command command;
    command.id = 17;
    CommandHandler::instance()->dispatch(command);
    QCOMPARE(journal, QStringList({QStringLiteral("first:17"), QStringLiteral("second:17")}));
}

void TestCommandHandler::logsObserverCount()
{
    QStringList journal;
    RecordingObserver first(QStringLiteral("first"), &journal);
    RecordingObserver second(QStringLiteral("second"), &journal);
    LogCapture log;
    add(&first);
    add(&second);
    QCOMPARE(log.lines(), QStringList({QStringLiteral("Number of command observers: 1"),
                                       QStringLiteral("Number of command observers: 2")}));
}

void TestCommandHandler::duplicateObserverIsCalledTwiceAndRemovedCompletely()
{
    QStringList journal;
    RecordingObserver observer(QStringLiteral("o"), &journal);
    add(&observer);
    add(&observer);
    QCOMPARE(CommandHandler::instance()->observerCount(), 2);

    Command command;
    command.id = 9;
    CommandHandler::instance()->dispatch(command);
    QCOMPARE(journal.size(), 2);

    CommandHandler::instance()->removeObserver(&observer);
    QCOMPARE(CommandHandler::instance()->observerCount(), 0);
}

void TestCommandHandler::removingUnknownObserverChangesNothing()
{
    QStringList journal;
    RecordingObserver known(QStringLiteral("known"), &journal);
    RecordingObserver unknown(QStringLiteral("unknown"), &journal);
    add(&known);
    CommandHandler::instance()->removeObserver(&unknown);
    QCOMPARE(CommandHandler::instance()->observerCount(), 1);

    Command command;
    CommandHandler::instance()->dispatch(command);
    QCOMPARE(journal, QStringList({QStringLiteral("known:0")}));
}

void TestCommandHandler::observersCanAnswer()
{
    QStringList journal;
    RecordingObserver answering(QStringLiteral("a"), &journal, true);
    add(&answering);

    Command command;
    command.id = 42;
    command.result = true;
    CommandHandler::instance()->dispatch(command);
    QCOMPARE(command.result, false);
}

void TestCommandHandler::observerRemovedDuringDispatchIsNotCalled()
{
    QStringList journal;
    RecordingObserver victim(QStringLiteral("victim"), &journal);
    struct Remover : CommandObserver
    {
        CommandObserver *target = nullptr;
        void handleCommand(Command &) override { CommandHandler::instance()->removeObserver(target); }
    } remover;
    remover.target = &victim;
    add(&remover);
    add(&victim);

    Command command;
    CommandHandler::instance()->dispatch(command);
    QVERIFY(journal.isEmpty());
}

QTEST_GUILESS_MAIN(TestCommandHandler)
#include "tst_commandhandler.moc"
