#include "settings/settingsdialog.h"

#include "settings/aboutpagewidget.h"
#include "settings/qpagedwidget.h"
#include "settings/savingpagewidget.h"
#include "settings/qpage.h"
#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPage *createLayoutPage(SettingsDialog *dialog, QWidget *parent)
{
    auto *page = new QPage(parent);
    auto *text = new QLabel(SettingsDialog::tr("Sonvel remembers the window's size and place, the columns' widths "
                                               "and order, and the sort. Reset Layout puts them back as they "
                                               "were at first."),
                            page);
    text->setWordWrap(true);
    text->setFont(VrFontProvider::font14(QFont::Normal));
    auto *button = new QPushButton(SettingsDialog::tr("Reset Layout"), page);
    button->setObjectName(QStringLiteral("resetLayoutButton"));
    button->setFont(VrFontProvider::font14(QFont::Normal));
    button->setMinimumHeight(GeometryProvider::scaled(30));
    makeDialogButton(button);
    QObject::connect(button, &QPushButton::clicked, dialog, &SettingsDialog::resetLayoutRequested);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(text);
    layout->addWidget(button, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

} // namespace

SettingsDialog::SettingsDialog(QWidget *parent)
    : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_pagedWidget = new QPagedWidget(this);
    connect(m_pagedWidget, &QPagedWidget::sgClose, this, &QDialog::accept);

    const QString aboutTitle = tr("About");
    m_pagedWidget->addPage(aboutTitle, new AboutPageWidget(m_pagedWidget));
    m_pagedWidget->addPage(tr("Saving"), new SavingPageWidget(m_pagedWidget));
    m_pagedWidget->addPage(tr("Layout"), createLayoutPage(this, m_pagedWidget));
    m_pagedWidget->selectPage(aboutTitle);
    m_pagedWidget->setListWidth(GeometryProvider::scaled(130));
    layout->addWidget(m_pagedWidget);

    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));

    setMinimumSize(GeometryProvider::scaledSize(500, 350));
    adjustSize();
}
