#pragma once

#include <QCompleter>

class QLineEdit;

// Completes the tag name under the cursor of a pattern field, between the
// separators around it, instead of the whole text. Its parent is the field.
class CustomCompletorAndLineEdit : public QCompleter
{
    Q_OBJECT

public:
    CustomCompletorAndLineEdit(const QStringList &names, QLineEdit *parent);

    QString pathFromIndex(const QModelIndex &index) const override;
    QStringList splitPath(const QString &path) const override;

public slots:
    void onLineEditTextChanged();

private:
    QLineEdit *lineEdit() const;
    QString separator() const;

    // QLineEdit puts the cursor at the end of a completed text; the position
    // behind the inserted name is kept here until the text has changed.
    mutable int m_pendingCursorPosition = -1;

    // The last completion handed out, so that the second request of one pick
    // can be told from a new one.
    struct Given
    {
        QString name;
        QString text;
        int cursor = -1;
    };
    mutable Given m_given;
};
