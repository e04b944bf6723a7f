#pragma once

#include "tags/tagcolumns.h"

#include <QStringList>
#include <QWidget>

#include <initializer_list>

class ExpressionLineEdit;
class KeysAndBpmBox;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The strip below the toolbar that collects and checks the choices of the
// five bulk operations (see PanelMode) and emits one signal per operation.
// It never touches the table or the files.
class GlobalReplaceBox : public QWidget
{
    Q_OBJECT

public:
    explicit GlobalReplaceBox(QWidget *parent = nullptr);

    // Any value that is no PanelMode changes nothing.
    void setMode(int mode);
    // Each mode's heading holds a word the main window looks for to tell
    // which mode is shown.
    QString headingText() const;
    QStringList patternTags() const;
    KeysAndBpmBox *keysAndBpmBox() const { return m_keysBox; }

signals:
    void replaceText(QStringList &list, QString texttoreplace, QString replaceingtext);
    void passFieldToRemoveSpaces(QStringList &fieldlist);
    void passDataToPerformFormatting(QString matching_text, QStringList &field_list);
    void passTagsAndSepToRename(QStringList &list, QString seperator);
    void passDataToFetchTags_FromFilename(QStringList &list, QString seperator);

public slots:
    void replace_All_ButtonClicked();
    void selectAllChecked();
    void remove_Button_Clicked();
    void format_Button_Clicked();
    void rename_Button_Clicked();
    void validate_Button_Clicked();
    void acceptPatternChecked();
    void currentSep(QString sep);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createFields();
    void createOptionButtons();
    void createActionButtons();
    void createColumnBoxes();
    void createLayout();

    QLabel *makeLabel(const QString &text, const QString &objectName);
    QLineEdit *makeField(const QString &objectName);
    QPushButton *makeActionButton(const QString &text, const QString &objectName,
                                  void (GlobalReplaceBox::*slot)());
    QList<QCheckBox *> columnBoxes(std::initializer_list<TagColumns::PanelBox> kinds) const;
    QStringList checkedColumns(std::initializer_list<TagColumns::PanelBox> kinds) const;
    void uncheck(std::initializer_list<TagColumns::PanelBox> kinds);
    QStringList textOperationColumns();

    QLabel *m_searchLabel = nullptr;
    QLineEdit *m_findField = nullptr;
    QAction *m_searchAction = nullptr;
    QComboBox *m_separatorBox = nullptr;
    QLabel *m_replaceLabel = nullptr;
    QLineEdit *m_replaceField = nullptr;
    ExpressionLineEdit *m_patternField = nullptr;
    QCheckBox *m_acceptPatternBox = nullptr;
    KeysAndBpmBox *m_keysBox = nullptr;
    QRadioButton *m_capitalizeButton = nullptr;
    QRadioButton *m_upperCaseButton = nullptr;
    QRadioButton *m_lowerCaseButton = nullptr;
    QPushButton *m_replaceAllButton = nullptr;
    QPushButton *m_doneButton = nullptr;
    QPushButton *m_startButton = nullptr;
    QPushButton *m_validateButton = nullptr;
    QPushButton *m_renameButton = nullptr;
    QLabel *m_columnHeading = nullptr;
    QCheckBox *m_selectAllBox = nullptr;
    // In display order, with what each offers.
    QList<QCheckBox *> m_columnBoxes;
    QList<TagColumns::PanelBox> m_columnKinds;

    QStringList m_patternTags;
};
