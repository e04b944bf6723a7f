#pragma once

struct Command;

class CommandObserver
{
public:
    virtual ~CommandObserver() = default;
    virtual void handleCommand(Command &command) = 0;
};
