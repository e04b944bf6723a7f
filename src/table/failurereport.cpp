#include "table/failurereport.h"

#include <QDir>

void FailureReport::addFailure(const QString &path, const QString &reason)
{
    if (m_count == 0) {
        m_firstPath = path;
        m_firstReason = reason;
    }
    ++m_count;
}

QString FailureReport::message(const QString &verb) const
{
    const QString files = m_count == 1 ? QStringLiteral("1 file could not be %1.").arg(verb)
                                       : QStringLiteral("%1 files could not be %2.").arg(m_count).arg(verb);
    const QString first = QStringLiteral("%1 First: %2").arg(files, QDir::toNativeSeparators(m_firstPath));
    return m_firstReason.isEmpty() ? first : QStringLiteral("%1 (%2)").arg(first, m_firstReason);
}
