#pragma once

#include <QMainWindow>

#include <functional>

class AddMediaFileWidget;
class GlobalReplaceBox;
class LowerLevelWidget;
class MediaIntake;
class QAction;
class QSplitter;
class SelectionPanel;
class SonvelMessageBox;
class TopSectionWidget;

// The program's only top-level window and the switchboard between its parts:
// every connection between the toolbar, the table and the bottom bar is made
// here.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    enum class CloseAnswer { Save, Discard, Cancel };
    // What to do with unsaved changes when the window closes; tests answer
    // in the user's place.
    static std::function<CloseAnswer(QWidget *parent)> askBeforeClosing;

    // Parent of every notification; set once the window is built.
    static MainWindow *instance();

    AddMediaFileWidget *mediaWidget() const { return m_mediaWidget; }
    TopSectionWidget *toolbar() const { return m_toolbar; }
    LowerLevelWidget *bottomBar() const { return m_bottomBar; }
    GlobalReplaceBox *operationPanel() const { return m_operationPanel; }
    MediaIntake *intake() const { return m_intake; }
    SelectionPanel *selectionPanel() const { return m_selectionPanel; }
    // Shows or hides the side panel, as its toolbar button and Ctrl+E do,
    // and remembers it.
    void setSidePanelVisible(bool visible);

    // Size, place, columns and sort: put back before the window first shows,
    // remembered when it closes.
    void restoreLayout();
    void rememberLayout() const;
    // Forgets the remembered layout and goes back to the first one at once.
    void resetLayout();

public slots:
    void listPopulated(bool x);
    void showOrHideReplaceBox();
    void removeExtraSpaceClicked();
    void showFormat();
    void renameFile_Clicked();
    void tagsFromFiles_Clicked();
    void seratoRemoval();
    void getFieldList(QStringList &list);
    void getDataToFormatText(QString type, QStringList &list);
    void undoActionCompleted(bool d);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void togglePanel(int operation, int mode, const QString &keyword);
    void createSidePanel();
    void rememberSidePanel();
    bool mayClose();
    void applySort(int column, Qt::SortOrder order);

    AddMediaFileWidget *m_mediaWidget = nullptr;
    TopSectionWidget *m_toolbar = nullptr;
    LowerLevelWidget *m_bottomBar = nullptr;
    GlobalReplaceBox *m_operationPanel = nullptr;
    MediaIntake *m_intake = nullptr;
    SonvelMessageBox *m_seratoConfirmation = nullptr;
    SelectionPanel *m_selectionPanel = nullptr;
    QSplitter *m_splitter = nullptr;
    QAction *m_sidePanelAction = nullptr;
    QByteArray m_firstHeaderState;
};
