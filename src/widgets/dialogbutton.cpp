#include "widgets/dialogbutton.h"

#include <QPushButton>
#include <QStyle>
#include <QVariant>

void makeDialogButton(QPushButton *button)
{
    button->setProperty("custom_messagebox", true);
    button->style()->unpolish(button);
    button->style()->polish(button);
}
