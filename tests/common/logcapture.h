#pragma once

#include <QStringList>

// Collects the debug log while it lives, so tests can check the program's
// diagnostic lines.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    QStringList lines() const;
    bool contains(const QString &line) const { return lines().contains(line); }
    void clear();
};
