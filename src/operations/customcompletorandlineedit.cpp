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
    const QString name = index.data(Qt::EditRole).toString();
    // Qt asks once when an entry is highlighted, which already puts the
    // completion into the field, and again when it is picked. Completing the
    // completed word again would append a second separator ("Title--"), or
    // one after every picked name with the cursor stuck before it.
    if (!m_given.text.isNull() && name == m_given.name && edit->text() == m_given.text
        && edit->cursorPosition() == m_given.cursor) {
        m_pendingCursorPosition = m_given.cursor;
        return m_given.text;
    }
    const PatternValidation::Completion completion =
        PatternValidation::complete(edit->text(), edit->cursorPosition(), separator(), name);
    m_pendingCursorPosition = completion.cursor;
    m_given = {name, completion.text, completion.cursor};
    return completion.text;
}

QStringList CustomCompletorAndLineEdit::splitPath(const QString &) const
{
    m_pendingCursorPosition = -1;
    m_given = Given();
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
