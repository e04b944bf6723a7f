#include "operations/globalreplacebox.h"

#include "operations/expressionlineedit.h"
#include "operations/keysandbpmbox.h"
#include "operations/panelmode.h"
#include "operations/patternvalidation.h"
#include "tags/tagcolumns.h"
#include "theme/apptheme.h"
#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/sonvelmessagebox.h"
#include "widgets/vrnotification.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char *const kLabelStyle = "QLabel {color : #2c3e50;}";
// The panel's own background (Sonvel.qss): the heading stays in place but is
// not seen.
const char *const kHiddenHeadingStyle = "QLabel {color : #bdc3c7;}";

using TagColumns::PanelBox;

} // namespace

GlobalReplaceBox::GlobalReplaceBox(QWidget *parent)
    : QWidget(parent)
{
    createFields();
    createOptionButtons();
    createActionButtons();
    createColumnBoxes();
    createLayout();

    const QList<QWidget *> children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        child->setFont(VrFontProvider::font16(QFont::Normal));

    // The stylesheet paints the background of a plain widget subclass only
    // when asked to.
    setAttribute(Qt::WA_StyledBackground);
    adjustSize();
}

QLabel *GlobalReplaceBox::makeLabel(const QString &text, const QString &objectName)
{
    auto *label = new QLabel(text);
    label->setObjectName(objectName);
    label->setStyleSheet(QLatin1String(kLabelStyle));
    return label;
}

QLineEdit *GlobalReplaceBox::makeField(const QString &objectName)
{
    auto *field = new QLineEdit;
    field->setObjectName(objectName);
    field->setFixedHeight(GeometryProvider::scaled(30));
    return field;
}

void GlobalReplaceBox::createFields()
{
    m_searchLabel = makeLabel(tr("Search for:"), QStringLiteral("searchLabel"));
    m_findField = makeField(QStringLiteral("findField"));
    m_findField->setPlaceholderText(tr("Type Here"));
    m_searchAction = new QAction(AppTheme::searchIcon(), QString(), this);
    m_findField->addAction(m_searchAction, QLineEdit::LeadingPosition);

    m_separatorBox = new QComboBox;
    m_separatorBox->setObjectName(QStringLiteral("separatorBox"));
    m_separatorBox->addItems({QStringLiteral("-"), QStringLiteral("_"), QStringLiteral("+"), QStringLiteral("*")});
    m_separatorBox->setFixedHeight(GeometryProvider::scaled(30));
    m_separatorBox->setMinimumContentsLength(10);
    // The successor of AdjustToMinimumContentsLength, which is compiled out.
    m_separatorBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_separatorBox->setView(new QListView);
    m_separatorBox->setProperty("darkList", true);
    // textActivated also fires when the shown item is picked again, which
    // is how the user confirms the default separator.
    connect(m_separatorBox, &QComboBox::textActivated, this, &GlobalReplaceBox::currentSep);

    m_replaceLabel = makeLabel(tr("Replace with:"), QStringLiteral("replaceLabel"));
    m_replaceField = makeField(QStringLiteral("replaceField"));

    m_patternField = new ExpressionLineEdit(this);
    m_patternField->setObjectName(QStringLiteral("patternField"));
    m_patternField->setPlaceholderText(tr("Enter a renaming pattern"));
    m_patternField->setFixedHeight(GeometryProvider::scaled(30));
    m_patternField->installEventFilter(this);
    m_patternField->setSeparator(m_separatorBox->currentText());

    m_acceptPatternBox = new QCheckBox(tr("Accept Pattern"));
    m_acceptPatternBox->setObjectName(QStringLiteral("acceptPatternBox"));
    connect(m_acceptPatternBox, &QCheckBox::toggled, this, &GlobalReplaceBox::acceptPatternChecked);

    m_keysBox = new KeysAndBpmBox;
    m_keysBox->setObjectName(QStringLiteral("keysAndBpmBox"));
    m_keysBox->hide();
}

void GlobalReplaceBox::createOptionButtons()
{
    // Auto-exclusive: the three share the panel as parent.
    m_capitalizeButton = new QRadioButton(tr("Capitalize"));
    m_capitalizeButton->setObjectName(QStringLiteral("capitalizeButton"));
    m_capitalizeButton->setChecked(true);
    m_upperCaseButton = new QRadioButton(tr("Upper Case"));
    m_upperCaseButton->setObjectName(QStringLiteral("upperCaseButton"));
    m_lowerCaseButton = new QRadioButton(tr("Lower Case"));
    m_lowerCaseButton->setObjectName(QStringLiteral("lowerCaseButton"));
    for (QRadioButton *button : {m_capitalizeButton, m_upperCaseButton, m_lowerCaseButton})
        button->hide();
}

QPushButton *GlobalReplaceBox::makeActionButton(const QString &text, const QString &objectName,
                                                void (GlobalReplaceBox::*slot)())
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setMinimumHeight(GeometryProvider::scaled(40));
    makeDialogButton(button);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void GlobalReplaceBox::createActionButtons()
{
    m_replaceAllButton = makeActionButton(tr("Replace All"), QStringLiteral("replaceAllButton"),
                                          &GlobalReplaceBox::replace_All_ButtonClicked);
    m_doneButton = makeActionButton(tr("Done"), QStringLiteral("doneButton"),
                                    &GlobalReplaceBox::remove_Button_Clicked);
    m_startButton = makeActionButton(tr("Start"), QStringLiteral("startButton"),
                                     &GlobalReplaceBox::format_Button_Clicked);
    m_validateButton = makeActionButton(tr("Validate"), QStringLiteral("validateButton"),
                                        &GlobalReplaceBox::validate_Button_Clicked);
    m_renameButton = makeActionButton(tr("Rename"), QStringLiteral("renameButton"),
                                      &GlobalReplaceBox::rename_Button_Clicked);
}

void GlobalReplaceBox::createColumnBoxes()
{
    m_columnHeading = makeLabel(tr("Perform replace inside these columns:"), QStringLiteral("columnHeading"));

    m_selectAllBox = new QCheckBox(tr("Select All"));
    m_selectAllBox->setObjectName(QStringLiteral("selectAllBox"));
    connect(m_selectAllBox, &QCheckBox::toggled, this, &GlobalReplaceBox::selectAllChecked);

    // The texts of the column boxes are the table's column keys.
    const QStringList keys = TagColumns::panelKeys();
    for (const QString &key : keys) {
        auto *box = new QCheckBox(key);
        box->setObjectName(QStringLiteral("column") + key);
        const PanelBox kind = TagColumns::all().at(TagColumns::position(key)).panel;
        box->setChecked(kind == PanelBox::Checked);
        m_columnBoxes.append(box);
        m_columnKinds.append(kind);
    }
    for (QCheckBox *box : columnBoxes({PanelBox::SpacesOnly, PanelBox::Hidden}))
        box->hide();
}

void GlobalReplaceBox::createLayout()
{
    auto *topRow = new QHBoxLayout;
    topRow->addWidget(m_keysBox, 1);
    topRow->addWidget(m_searchLabel);
    topRow->addSpacing(3);
    topRow->addWidget(m_findField);
    topRow->addWidget(m_separatorBox);
    topRow->addStretch();
    topRow->addWidget(m_replaceLabel);
    topRow->addSpacing(3);
    topRow->addWidget(m_replaceField);
    topRow->addWidget(m_patternField);
    topRow->addWidget(m_acceptPatternBox);
    topRow->addStretch();
    topRow->addSpacing(5);
    topRow->addWidget(m_capitalizeButton);
    topRow->addSpacing(5);
    topRow->addWidget(m_upperCaseButton);
    topRow->addSpacing(5);
    topRow->addWidget(m_lowerCaseButton, 1);
    topRow->addSpacing(5);
    for (QPushButton *button : {m_replaceAllButton, m_doneButton, m_startButton, m_validateButton, m_renameButton})
        topRow->addWidget(button);
    topRow->addSpacing(10);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_columnHeading);
    bottomRow->addStretch();
    bottomRow->addWidget(m_selectAllBox);
    bottomRow->addSpacing(5);
    for (QCheckBox *box : qAsConst(m_columnBoxes)) {
        bottomRow->addWidget(box);
        if (box != m_columnBoxes.last())
            bottomRow->addSpacing(5);
    }
    bottomRow->addStretch();

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->addLayout(topRow);
    mainLayout->addLayout(bottomRow);
}

void GlobalReplaceBox::setMode(int mode)
{
    if (mode < ExtraSpaces || mode > KeysAndBpm)
        return;
    const bool keys = mode == KeysAndBpm;
    const bool spaces = mode == ExtraSpaces;
    const bool replace = mode == FindReplace;
    const bool format = mode == FormatText;
    const bool pattern = mode == RenameFiles || mode == TagsFromFiles;

    // Texts of children a mode hides stay as they were.
    switch (mode) {
    case ExtraSpaces:
        m_columnHeading->setText(tr("Select columns to remove extra spaces:"));
        break;
    case FindReplace:
        m_searchLabel->setText(tr("Find:"));
        m_replaceLabel->setText(tr("Replace with:"));
        m_columnHeading->setText(tr("Perform replace inside these columns:"));
        break;
    case FormatText:
        m_searchLabel->setText(tr("Select an option:"));
        m_columnHeading->setText(tr("Format text inside these columns:"));
        break;
    case KeysAndBpm:
        m_columnHeading->setText(tr("Keys and tempos of every row"));
        break;
    default:
        m_searchLabel->setText(tr("Choose a Seperator:"));
        m_replaceLabel->setText(tr("Custom Format:"));
        if (mode == RenameFiles) {
            m_columnHeading->setText(tr("Rename Files"));
            m_patternField->setPlaceholderText(tr("Enter a renaming pattern"));
            m_renameButton->setText(tr("Rename"));
        } else {
            m_columnHeading->setText(tr("Get tags from Files"));
            m_patternField->setPlaceholderText(tr("Enter a valid pattern"));
            m_renameButton->setText(tr("Proceed"));
        }
        break;
    }

    m_keysBox->setVisible(keys);
    m_searchLabel->setVisible(!spaces && !keys);
    m_findField->setVisible(replace);
    m_replaceLabel->setVisible(replace || pattern);
    m_replaceField->setVisible(replace);
    for (QRadioButton *button : {m_capitalizeButton, m_upperCaseButton, m_lowerCaseButton})
        button->setVisible(format);
    m_replaceAllButton->setVisible(replace);
    m_doneButton->setVisible(spaces);
    m_startButton->setVisible(format);

    // The pattern modes keep the heading's place in the layout; its word
    // still tells the main window which mode is shown.
    m_columnHeading->setStyleSheet(QLatin1String(pattern ? kHiddenHeadingStyle : kLabelStyle));
    if (!pattern)
        m_columnHeading->show();
    m_selectAllBox->setVisible(!pattern && !keys);
    for (QCheckBox *box : columnBoxes({PanelBox::Checked, PanelBox::Unchecked}))
        box->setVisible(!pattern && !keys);
    for (QCheckBox *box : columnBoxes({PanelBox::TextOnly}))
        box->setVisible(replace || format);
    for (QCheckBox *box : columnBoxes({PanelBox::SpacesOnly}))
        box->setVisible(spaces);
    for (QCheckBox *box : columnBoxes({PanelBox::Hidden}))
        box->hide();

    m_patternField->setVisible(pattern);
    m_separatorBox->setVisible(pattern);
    m_validateButton->setVisible(pattern);
    m_acceptPatternBox->hide();
    m_renameButton->hide();

    if (pattern) {
        m_patternField->clear();
        // Back to the first step: a separator has to be picked before typing.
        m_patternField->setEnabled(false);
        m_separatorBox->setCurrentIndex(0);
        m_separatorBox->setEnabled(true);
        m_acceptPatternBox->setChecked(false);
        m_patternField->setReadOnly(false);
    }
}

QString GlobalReplaceBox::headingText() const
{
    return m_columnHeading->text();
}

QStringList GlobalReplaceBox::patternTags() const
{
    return m_patternTags;
}

QList<QCheckBox *> GlobalReplaceBox::columnBoxes(std::initializer_list<PanelBox> kinds) const
{
    QList<QCheckBox *> boxes;
    for (int i = 0; i < m_columnBoxes.size(); ++i) {
        if (std::find(kinds.begin(), kinds.end(), m_columnKinds.at(i)) != kinds.end())
            boxes.append(m_columnBoxes.at(i));
    }
    return boxes;
}

QStringList GlobalReplaceBox::checkedColumns(std::initializer_list<PanelBox> kinds) const
{
    QStringList columns;
    for (const QCheckBox *box : columnBoxes(kinds)) {
        if (box->isChecked())
            columns.append(box->text());
    }
    return columns;
}

void GlobalReplaceBox::uncheck(std::initializer_list<PanelBox> kinds)
{
    for (QCheckBox *box : columnBoxes(kinds))
        box->setChecked(false);
}

// Select All also checks the boxes these operations do not show; they are
// not worked on.
QStringList GlobalReplaceBox::textOperationColumns()
{
    uncheck({PanelBox::SpacesOnly, PanelBox::Hidden});
    return checkedColumns({PanelBox::Checked, PanelBox::Unchecked, PanelBox::TextOnly});
}

void GlobalReplaceBox::selectAllChecked()
{
    const bool checked = m_selectAllBox->isChecked();
    for (QCheckBox *box : qAsConst(m_columnBoxes))
        box->setChecked(checked);
}

void GlobalReplaceBox::replace_All_ButtonClicked()
{
    QStringList columns = textOperationColumns();
    if (columns.isEmpty()) {
        VrNotification::showNotification(tr("Select atleast one column to perform operation!"), Error);
        return;
    }
    QString findText = m_findField->text();
    if (findText.isEmpty()) {
        VrNotification::showNotification(tr("Search box can not be empty. Please enter some text!"), Error);
        return;
    }
    QString replacement = m_replaceField->text();
    if (replacement.isEmpty()) {
        VrNotification::showNotification(tr("Replace box can not be empty. Please enter some text!"), Error);
        return;
    }
    emit replaceText(columns, findText, replacement);
}

void GlobalReplaceBox::remove_Button_Clicked()
{
    uncheck({PanelBox::TextOnly, PanelBox::Hidden});
    QStringList columns = checkedColumns({PanelBox::Checked, PanelBox::Unchecked, PanelBox::SpacesOnly});
    if (columns.isEmpty()) {
        VrNotification::showNotification(tr("Select atleast one column to perform operation!"), Error);
        return;
    }
    emit passFieldToRemoveSpaces(columns);
}

void GlobalReplaceBox::format_Button_Clicked()
{
    QString option;
    for (QRadioButton *button : {m_capitalizeButton, m_upperCaseButton, m_lowerCaseButton}) {
        if (button->isChecked())
            option = button->text();
    }
    QStringList columns = textOperationColumns();
    if (columns.isEmpty()) {
        VrNotification::showNotification(tr("Select atleast one column to perform operation!"), Error);
        return;
    }
    if (option.isEmpty()) {
        VrNotification::showNotification(tr("Select an option first to perform operation!"), Error);
        return;
    }
    emit passDataToPerformFormatting(option, columns);
}

void GlobalReplaceBox::currentSep(QString sep)
{
    m_patternField->setSeparator(sep);
    m_patternField->setEnabled(true);
    m_separatorBox->setEnabled(false);
}

void GlobalReplaceBox::validate_Button_Clicked()
{
    m_patternTags.clear();
    const QString pattern = m_patternField->text();
    if (pattern.isEmpty()) {
        VrNotification::showNotification(tr("Enter a correct pattern first!"), Error);
        return;
    }
    const PatternValidation::Result result = PatternValidation::validate(pattern, m_separatorBox->currentText());
    if (result.tags.isEmpty()) {
        m_patternField->clear();
        VrNotification::showNotification(tr("Pattern does not conatins valid tags!"), Error);
        return;
    }
    m_patternTags = result.tags;
    m_patternField->setText(result.pattern);
    m_acceptPatternBox->show();
    m_acceptPatternBox->setChecked(true);
}

void GlobalReplaceBox::acceptPatternChecked()
{
    const bool accepted = m_acceptPatternBox->isChecked();
    m_validateButton->setVisible(!accepted);
    m_renameButton->setVisible(accepted);
    m_patternField->setReadOnly(accepted);
    if (!accepted)
        m_acceptPatternBox->hide();
}

void GlobalReplaceBox::rename_Button_Clicked()
{
    QStringList tags = m_patternTags;
    QString separator = m_separatorBox->currentText();
    if (m_patternField->text().isEmpty()) {
        VrNotification::showNotification(tr("Enter a correct pattern first!"), Error);
        return;
    }
    // The receiving pass shows what it would do and asks before changing
    // anything, so nothing is confirmed here.
    const QString action = m_renameButton->text();
    if (action == tr("Rename"))
        emit passTagsAndSepToRename(tags, separator);
    else if (action == tr("Proceed"))
        emit passDataToFetchTags_FromFilename(tags, separator);
}

bool GlobalReplaceBox::eventFilter(QObject *watched, QEvent *event)
{
    // Clicks never reach the pattern field; while it waits for a separator
    // the user is told why nothing happens.
    if (watched == m_patternField && event->type() == QEvent::MouseButtonPress) {
        if (!m_patternField->isEnabled())
            VrNotification::showNotification(tr("Select a seperator first!"), Info);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
