#include "operations/expressionlineedit.h"

#include "operations/customcompletorandlineedit.h"
#include "operations/patternvalidation.h"

ExpressionLineEdit::ExpressionLineEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_tagNames(PatternValidation::tagNames())
    , m_completer(new CustomCompletorAndLineEdit(m_tagNames, this))
{
    setCompleter(m_completer);
    connect(this, &QLineEdit::textChanged, m_completer, &CustomCompletorAndLineEdit::onLineEditTextChanged);
    connect(this, &QLineEdit::cursorPositionChanged, m_completer,
            &CustomCompletorAndLineEdit::onLineEditTextChanged);
}

QString ExpressionLineEdit::separator() const
{
    return m_separator;
}

void ExpressionLineEdit::setSeparator(const QString &separator)
{
    m_separator = separator;
}

void ExpressionLineEdit::focusInEvent(QFocusEvent *event)
{
    // QLineEdit connects its completer again on every focus-in, also when the
    // completion popup hands the focus back without the connections having
    // been dropped. A doubled setText would move the cursor to the end after
    // the completer has placed it, so keep only the connections made now.
    disconnect(m_completer, nullptr, this, nullptr);
    QLineEdit::focusInEvent(event);
}
