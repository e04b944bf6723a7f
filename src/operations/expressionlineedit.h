#pragma once

#include <QLineEdit>
#include <QStringList>

class CustomCompletorAndLineEdit;

// The pattern field of the rename operations: tag names joined by a
// separator, with a completion popup for the name being typed.
class ExpressionLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ExpressionLineEdit(QWidget *parent = nullptr);

    QString separator() const;
    void setSeparator(const QString &separator);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QString m_separator;
    QStringList m_tagNames;
    CustomCompletorAndLineEdit *m_completer = nullptr;
};
