#pragma once

#include <QWidget>

class QPushButton;

// The bottom bar: clears the file list, undoes or saves the pending changes.
// Clearing and undoing ask first; saving does not.
class LowerLevelWidget : public QWidget
{
    Q_OBJECT

public:
    explicit LowerLevelWidget(QWidget *parent = nullptr);

    void setClearButtonVisible(bool visible);

signals:
    void clearList();
    void undoAllChanges();
    void saveAllChanges();

public slots:
    void clearFile_ButtonClicked();
    void undo_Button_Clicked();
    void save_Button_Clicked();
    void changesOccoured(bool x);

private:
    QPushButton *makeButton(const QString &text, const QString &objectName,
                            void (LowerLevelWidget::*slot)());
    void createLayout();

    QPushButton *m_clearButton = nullptr;
    QPushButton *m_undoButton = nullptr;
    QPushButton *m_saveButton = nullptr;
};
