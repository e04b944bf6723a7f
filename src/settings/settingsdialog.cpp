#include "settings/settingsdialog.h"

#include "settings/aboutpagewidget.h"
#include "settings/qpagedwidget.h"
#include "settings/savingpagewidget.h"
#include "theme/geometryprovider.h"

#include <QVBoxLayout>

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
    m_pagedWidget->selectPage(aboutTitle);
    m_pagedWidget->setListWidth(GeometryProvider::scaled(130));
    layout->addWidget(m_pagedWidget);

    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));

    setMinimumSize(GeometryProvider::scaledSize(500, 350));
    adjustSize();
}
