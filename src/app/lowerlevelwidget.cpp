#include "app/lowerlevelwidget.h"

#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/sonvelmessagebox.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The box is gone before the caller acts on the answer.
bool confirmed(const QString &question)
{
    SonvelMessageBox box;
    box.setMessage(QStringLiteral("warning"), question);
    return box.exec() == QDialog::Accepted;
}

} // namespace

LowerLevelWidget::LowerLevelWidget(QWidget *parent)
    : QWidget(parent)
{
    m_clearButton = makeButton(tr("Clear File List"), QStringLiteral("clearButton"),
                               &LowerLevelWidget::clearFile_ButtonClicked);
    m_undoButton = makeButton(tr("Undo All Changes"), QStringLiteral("undoButton"),
                              &LowerLevelWidget::undo_Button_Clicked);
    m_saveButton = makeButton(tr("Save Changes"), QStringLiteral("saveButton"),
                              &LowerLevelWidget::save_Button_Clicked);
    createLayout();

    m_clearButton->hide();
    m_undoButton->hide();
    m_saveButton->hide();

    // The stylesheet paints the background of a plain widget subclass only
    // when asked to.
    setAttribute(Qt::WA_StyledBackground);
}

QPushButton *LowerLevelWidget::makeButton(const QString &text, const QString &objectName,
                                          void (LowerLevelWidget::*slot)())
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setFont(VrFontProvider::font16(QFont::Normal));
    button->setMinimumHeight(GeometryProvider::scaled(30));
    makeDialogButton(button);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void LowerLevelWidget::createLayout()
{
    auto *topRow = new QHBoxLayout;
    topRow->addStretch();

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_clearButton);
    buttonRow->addWidget(m_undoButton);
    buttonRow->addWidget(m_saveButton);

    auto *mainLayout = new QVBoxLayout;
    mainLayout->addLayout(topRow);
    mainLayout->addStretch();
    mainLayout->addLayout(buttonRow);
    setLayout(mainLayout);
}

void LowerLevelWidget::setClearButtonVisible(bool visible)
{
    m_clearButton->setVisible(visible);
}

void LowerLevelWidget::clearFile_ButtonClicked()
{
    if (confirmed(QStringLiteral("Are you sure you want to clear the list?")))
        emit clearList();
}

void LowerLevelWidget::undo_Button_Clicked()
{
    if (confirmed(QStringLiteral("Are you sure you want to undo all changes made?")))
        emit undoAllChanges();
}

void LowerLevelWidget::save_Button_Clicked()
{
    emit saveAllChanges();
}

void LowerLevelWidget::changesOccoured(bool x)
{
    m_undoButton->setVisible(x);
    m_saveButton->setVisible(x);
}
