#include "operations/customcompletorandlineedit.h"

#include "operations/expressionlineedit.h"
#include "operations/patternvalidation.h"

#include <QLineEdit>

CustomCompletorAndLineEdit::CustomCompletorAndLineEdit(const QStringList &names, QLineEdit *parent)
    : QCompleter(names, parent)
{
}

QLineEdit *CustomCompletorAndLineEdit::lineEdit() const
{
    return qobject_cast<QLineEdit *>(parent());
}

// Read at every use, so a separator picked later takes effect at once.
QString CustomCompletorAndLineEdit::separator() const
{
    const auto *edit = qobject_cast<const ExpressionLineEdit *>(parent());
    return edit ? edit->separator() : QString();
}

QString CustomCompletorAndLineEdit::pathFromIndex(const QModelIndex &index) const
{
    const QLineEdit *edit = lineEdit();
    Q_ASSERT(edit);
    const PatternValidation::Completion completion = PatternValidation::complete(
        edit->text(), edit->cursorPosition(), separator(), index.data(Qt::EditRole).toString());
    m_pendingCursorPosition = completion.cursor;
    return completion.text;
}

QStringList CustomCompletorAndLineEdit::splitPath(const QString &) const
{
    m_pendingCursorPosition = -1;
    const QLineEdit *edit = lineEdit();
    Q_ASSERT(edit);
    return {PatternValidation::completionPrefix(edit->text(), edit->cursorPosition(), separator())};
}

void CustomCompletorAndLineEdit::onLineEditTextChanged()
{
    if (m_pendingCursorPosition == -1)
        return;
    // Cleared first: moving the cursor calls back into this slot.
    const int position = m_pendingCursorPosition;
    m_pendingCursorPosition = -1;
    lineEdit()->setCursorPosition(position);
}
