#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class AButton;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

// The toolbar: logo, search field, view and settings buttons, and the row of
// buttons that add files and start the text operations.
class TopSectionWidget : public QWidget
{
    Q_OBJECT

public:
    using OpenFilesDialog = std::function<QStringList(QWidget *parent, const QString &caption,
                                                      const QString &dir, const QString &filter)>;
    using OpenFolderDialog = std::function<QString(QWidget *parent, const QString &caption, const QString &dir)>;
    // Show the file and folder dialogs; tests swap them to answer without one.
    static OpenFilesDialog openFilesDialog;
    static OpenFolderDialog openFolderDialog;

    explicit TopSectionWidget(QWidget *parent = nullptr);

    // Operation indices: 0 replace, 1 extra spaces, 2 format, 3 to file name,
    // 4 from file name, 5 keys and tempos. Any other k leaves every button as
    // it is.
    void uncheckOtherOperations(int k);
    void setViewToggleChecked(bool checked);
    void setViewToggleVisible(bool visible);
    void setSidePanelChecked(bool checked);

signals:
    void passMediaList(QStringList media_lists);
    // Files and folders to search for MP3 files.
    void passMediaPaths(const QStringList &paths);
    void globalReplaceClicked();
    void removeSpaceClicked();
    void removeSeratoClicked();
    void formatClicked();
    void rename_FilesClicked();
    void tagFromFilesClicked();
    void keysAndBpmClicked();
    void sidePanelToggled(bool shown);
    void changeView(int i);
    void SearchPattern(QString searching_word);

public slots:
    void addFile_ButtonClicked();
    void addFolder_ButtonClicked();
    void global_ReplaceButton_Clicked();
    void remove_SpaceButtonClicked();
    void remove_SeratoTag_Clicked();
    void format_ButtonClicked();
    void rename_Files_ButtonClicked();
    void tag_FromFile_ButtonClicked();
    void keys_BpmButtonClicked();
    void changeTableView();
    void lineEditEdited(QString curr_text);
    void settingButton_Clicked();

private:
    void createLogo();
    void createButtons();
    void createAddActions();
    void createViewToggle();
    void createSettingsButton();
    void createSearchField();
    void createLayout();

    QPushButton *makeButton(const QString &text, const QString &objectName, bool checkable,
                            void (TopSectionWidget::*slot)());

    QLabel *m_logo = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_replaceButton = nullptr;
    QPushButton *m_extraSpacesButton = nullptr;
    QPushButton *m_seratoButton = nullptr;
    QLineEdit *m_searchField = nullptr;
    QPushButton *m_formatButton = nullptr;
    QPushButton *m_toFilenameButton = nullptr;
    QPushButton *m_fromFilenameButton = nullptr;
    QPushButton *m_keysButton = nullptr;
    QPushButton *m_sidePanelButton = nullptr;
    QAction *m_searchAction = nullptr;
    AButton *m_viewToggle = nullptr;
    AButton *m_settingsButton = nullptr;
};
