#pragma once

#include <QString>

// Counts the files an operation could not change, so the user is told which
// instead of being told that everything succeeded.
class FailureReport
{
public:
    void addFailure(const QString &path, const QString &reason = QString());

    bool isEmpty() const { return m_count == 0; }
    int count() const { return m_count; }
    QString firstPath() const { return m_firstPath; }
    QString firstReason() const { return m_firstReason; }

    // "<count> file(s) could not be <verb>. First: <path> (<reason>)"
    QString message(const QString &verb) const;

private:
    int m_count = 0;
    QString m_firstPath;
    QString m_firstReason;
};
