#include "app/topsectionwidget.h"

#include "app/command.h"
#include "app/commandhandler.h"
#include "settings/usersettings.h"
#include "tags/audioformat.h"
#include "theme/apptheme.h"
#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/abutton.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

TopSectionWidget::OpenFilesDialog TopSectionWidget::openFilesDialog =
    [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
    };
TopSectionWidget::OpenFolderDialog TopSectionWidget::openFolderDialog =
    [](QWidget *parent, const QString &caption, const QString &dir) {
        return QFileDialog::getExistingDirectory(parent, caption, dir);
    };

TopSectionWidget::TopSectionWidget(QWidget *parent)
    : QWidget(parent)
{
    createLogo();
    createButtons();
    createAddActions();
    createViewToggle();
    createSettingsButton();
    createSearchField();
    createLayout();

    // The stylesheet paints the background of a plain widget subclass only
    // when asked to.
    setAttribute(Qt::WA_StyledBackground);
}

void TopSectionWidget::createLogo()
{
    m_logo = new QLabel;
    m_logo->setObjectName(QStringLiteral("logo"));
    m_logo->setPixmap(AppTheme::logoPixmap());
}

QPushButton *TopSectionWidget::makeButton(const QString &text, const QString &objectName,
                                          bool checkable, void (TopSectionWidget::*slot)())
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setFont(VrFontProvider::font16(QFont::Normal));
    button->setFixedHeight(GeometryProvider::scaled(50));
    button->setCheckable(checkable);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void TopSectionWidget::createButtons()
{
    m_addButton = makeButton(tr("Add Files"), QStringLiteral("addButton"), false,
                             &TopSectionWidget::addFile_ButtonClicked);
    m_replaceButton = makeButton(tr("Global Replace"), QStringLiteral("replaceButton"), true,
                                 &TopSectionWidget::global_ReplaceButton_Clicked);
    m_extraSpacesButton = makeButton(tr("Remove Extra Spaces"), QStringLiteral("extraSpacesButton"), true,
                                     &TopSectionWidget::remove_SpaceButtonClicked);
    m_seratoButton = makeButton(tr("Remove Serato Tags"), QStringLiteral("seratoButton"), false,
                                &TopSectionWidget::remove_SeratoTag_Clicked);
    m_formatButton = makeButton(tr("Format Text"), QStringLiteral("formatButton"), true,
                                &TopSectionWidget::format_ButtonClicked);
    m_toFilenameButton = makeButton(tr("Tags To Filename"), QStringLiteral("toFilenameButton"), true,
                                    &TopSectionWidget::rename_Files_ButtonClicked);
    m_fromFilenameButton = makeButton(tr("Tags From Filename"), QStringLiteral("fromFilenameButton"), true,
                                      &TopSectionWidget::tag_FromFile_ButtonClicked);
    // "&&" shows one ampersand rather than making a shortcut.
    m_keysButton = makeButton(tr("Keys && BPM"), QStringLiteral("keysButton"), true,
                              &TopSectionWidget::keys_BpmButtonClicked);

    m_sidePanelButton = new QPushButton(tr("Selection Panel"));
    m_sidePanelButton->setObjectName(QStringLiteral("sidePanelButton"));
    m_sidePanelButton->setCheckable(true);
    m_sidePanelButton->setFont(VrFontProvider::font13(QFont::Normal));
    m_sidePanelButton->setFixedHeight(GeometryProvider::scaled(35));
    m_sidePanelButton->setToolTip(tr("Show or hide the fields of the selected rows (Ctrl+E)"));
    connect(m_sidePanelButton, &QPushButton::toggled, this, &TopSectionWidget::sidePanelToggled);
}

void TopSectionWidget::setSidePanelChecked(bool checked)
{
    const QSignalBlocker blocker(m_sidePanelButton);
    m_sidePanelButton->setChecked(checked);
}

void TopSectionWidget::createViewToggle()
{
    m_viewToggle = new AButton(this);
    m_viewToggle->setObjectName(QStringLiteral("viewToggle"));
    m_viewToggle->setCheckable(true);
    m_viewToggle->setToolTip(QStringLiteral("Click here to change the view"));
    m_viewToggle->setText(QString());
    // AButton paints the Selected pixmap while checked.
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/plus.png"), QSize(), QIcon::Normal, QIcon::Off);
    icon.addFile(QStringLiteral(":/images/minus.png"), QSize(), QIcon::Selected, QIcon::Off);
    m_viewToggle->setIcon(icon);
    m_viewToggle->setFixedSize(GeometryProvider::scaled(35), GeometryProvider::scaled(35));
    connect(m_viewToggle, &AButton::clicked, this, &TopSectionWidget::changeTableView);
    m_viewToggle->hide();
}

void TopSectionWidget::createSettingsButton()
{
    m_settingsButton = new AButton(this);
    m_settingsButton->setObjectName(QStringLiteral("settingsButton"));
    m_settingsButton->setToolTip(QStringLiteral("Setting"));
    m_settingsButton->setText(QString());
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/setting.png"), QSize(), QIcon::Normal, QIcon::Off);
    m_settingsButton->setIcon(icon);
    m_settingsButton->setFixedSize(GeometryProvider::scaled(35), GeometryProvider::scaled(35));
    connect(m_settingsButton, &AButton::clicked, this, &TopSectionWidget::settingButton_Clicked);
}

void TopSectionWidget::createSearchField()
{
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setFont(VrFontProvider::font16(QFont::Normal));
    m_searchField->setFixedHeight(GeometryProvider::scaled(40));
    m_searchField->setFixedWidth(GeometryProvider::scaled(400));
    m_searchAction = new QAction(AppTheme::searchIcon(), QString(), this);
    m_searchField->addAction(m_searchAction, QLineEdit::TrailingPosition);
    m_searchField->setPlaceholderText(QStringLiteral("Search"));
    m_searchField->setAttribute(Qt::WA_MacShowFocusRect, false);
    // Tab and the arrow keys belong to the table; only a click starts a search.
    m_searchField->setFocusPolicy(Qt::ClickFocus);
    connect(m_searchField, &QLineEdit::textChanged, this, &TopSectionWidget::lineEditEdited);
}

void TopSectionWidget::createLayout()
{
    auto *logoGrid = new QGridLayout;
    logoGrid->setContentsMargins(0, 20, 0, 20);
    logoGrid->addWidget(m_logo, 1, 3, 1, 3);

    auto *buttonsRow = new QHBoxLayout;
    buttonsRow->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *button : {m_addButton, m_replaceButton, m_extraSpacesButton, m_formatButton,
                                m_seratoButton, m_toFilenameButton, m_fromFilenameButton, m_keysButton})
        buttonsRow->addWidget(button);

    auto *viewRow = new QHBoxLayout;
    viewRow->setContentsMargins(0, 0, 0, 0);
    viewRow->addStretch();
    viewRow->addWidget(m_sidePanelButton);
    viewRow->addSpacing(10);
    viewRow->addWidget(m_viewToggle);
    viewRow->addSpacing(10);
    viewRow->addWidget(m_settingsButton);

    auto *searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(0, 0, 0, 0);
    searchRow->addStretch();
    searchRow->addWidget(m_searchField);
    searchRow->addSpacing(10);

    auto *rightColumn = new QVBoxLayout;
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(10);
    rightColumn->addStretch(3);
    rightColumn->addLayout(searchRow);
    rightColumn->addStretch(1);
    rightColumn->addLayout(viewRow);
    rightColumn->addStretch(2);

    auto *topRow = new QHBoxLayout;
    topRow->setContentsMargins(15, 0, 0, 0);
    topRow->addLayout(logoGrid);
    topRow->addStretch();
    topRow->addLayout(rightColumn);
    topRow->addSpacing(10);

    auto *mainLayout = new QVBoxLayout;
    mainLayout->setContentsMargins(0, 10, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addLayout(topRow);
    mainLayout->addSpacing(10);
    mainLayout->addLayout(buttonsRow);
    setLayout(mainLayout);
}

void TopSectionWidget::uncheckOtherOperations(int k)
{
    const std::array<QPushButton *, 6> operations = {m_replaceButton, m_extraSpacesButton, m_formatButton,
                                                     m_toFilenameButton, m_fromFilenameButton, m_keysButton};
    if (k < 0 || k >= int(operations.size()))
        return;
    for (int i = 0; i < int(operations.size()); ++i) {
        if (i != k)
            operations[i]->setChecked(false);
    }
}

void TopSectionWidget::setViewToggleChecked(bool checked)
{
    m_viewToggle->setChecked(checked);
}

void TopSectionWidget::setViewToggleVisible(bool visible)
{
    m_viewToggle->setVisible(visible);
}

void TopSectionWidget::addFile_ButtonClicked()
{
    const QStringList files = openFilesDialog(this, tr("Add media Files"), UserSettings::lastAddFolder(),
                                              AudioFormats::dialogFilters().join(QStringLiteral(";;")));
    if (files.isEmpty())
        return;
    UserSettings::rememberAddFolder(QFileInfo(files.first()).absolutePath());
    emit passMediaList(files);
}

void TopSectionWidget::addFolder_ButtonClicked()
{
    const QString folder = openFolderDialog(this, tr("Add a Folder"), UserSettings::lastAddFolder());
    if (folder.isEmpty())
        return;
    UserSettings::rememberAddFolder(folder);
    emit passMediaPaths({folder});
}

// The button's click stays "Add Files"; its menu (right button) and the
// shortcuts also reach whole folders.
void TopSectionWidget::createAddActions()
{
    auto *addFiles = new QAction(tr("Add Files…"), this);
    addFiles->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(addFiles, &QAction::triggered, this, &TopSectionWidget::addFile_ButtonClicked);
    auto *addFolder = new QAction(tr("Add Folder…"), this);
    addFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    connect(addFolder, &QAction::triggered, this, &TopSectionWidget::addFolder_ButtonClicked);
    for (QAction *action : {addFiles, addFolder}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }

    m_addButton->setToolTip(tr("Add audio files (Ctrl+O); right-click to add a whole folder (Ctrl+Shift+O). "
                               "Files and folders can also be dropped on the window."));
    m_addButton->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_addButton, &QWidget::customContextMenuRequested, this, [this, addFiles, addFolder](const QPoint &at) {
        QMenu menu(this);
        menu.addAction(addFiles);
        menu.addAction(addFolder);
        menu.exec(m_addButton->mapToGlobal(at));
    });
}

void TopSectionWidget::global_ReplaceButton_Clicked()
{
    emit globalReplaceClicked();
}

void TopSectionWidget::remove_SpaceButtonClicked()
{
    emit removeSpaceClicked();
}

void TopSectionWidget::remove_SeratoTag_Clicked()
{
    emit removeSeratoClicked();
}

void TopSectionWidget::format_ButtonClicked()
{
    emit formatClicked();
}

void TopSectionWidget::keys_BpmButtonClicked()
{
    emit keysAndBpmClicked();
}

void TopSectionWidget::rename_Files_ButtonClicked()
{
    emit rename_FilesClicked();
}

void TopSectionWidget::tag_FromFile_ButtonClicked()
{
    emit tagFromFilesClicked();
}

void TopSectionWidget::changeTableView()
{
    emit changeView(m_viewToggle->isChecked() ? 1 : 2);
}

void TopSectionWidget::lineEditEdited(QString curr_text)
{
    emit SearchPattern(curr_text);
}

void TopSectionWidget::settingButton_Clicked()
{
    Command command;
    command.id = Commands::OpenSettings;
    command.result = true;
    CommandHandler::instance()->dispatch(command);
}
