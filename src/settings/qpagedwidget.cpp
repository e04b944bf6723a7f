#include "settings/qpagedwidget.h"

#include "settings/qpage.h"
#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/softpanel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
const QColor sidebarColour(0x2c, 0x3e, 0x50);
}

QPagedWidget::QPagedWidget(QWidget *parent)
    : QWidget(parent)
{
    auto *mainLayout = new QHBoxLayout(this);
    mainLayout->setContentsMargins(0, 10, 0, 0);
    mainLayout->setSpacing(0);

    createPageList();

    auto *rightColumn = new QVBoxLayout;
    rightColumn->setContentsMargins(0, 0, 10, 10);
    QPushButton *closeButton = createCloseButton();
    m_pageStack = new QStackedWidget(this);
    m_pageStack->setObjectName(QStringLiteral("pageStack"));
    rightColumn->addWidget(m_pageStack);
    rightColumn->addWidget(closeButton, 0, Qt::AlignRight | Qt::AlignBottom);

    mainLayout->addWidget(m_pageList, 0, Qt::AlignLeft);
    mainLayout->addLayout(rightColumn);

    // The rounded panel is painted by hand; nothing may paint behind it.
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));
}

void QPagedWidget::createPageList()
{
    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("pageList"));
    m_pageList->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_pageList->setFocusPolicy(Qt::NoFocus);
    m_pageList->setFont(VrFontProvider::font16(QFont::Normal));
    connect(m_pageList, &QListWidget::currentRowChanged, this, &QPagedWidget::onPageChanged);
}

QPushButton *QPagedWidget::createCloseButton()
{
    auto *button = new QPushButton(tr("Close"), this);
    button->setObjectName(QStringLiteral("closeButton"));
    button->setFont(VrFontProvider::font16(QFont::Normal));
    button->setMinimumHeight(GeometryProvider::scaled(35));
    makeDialogButton(button);
    connect(button, &QPushButton::clicked, this, &QPagedWidget::sgClose);
    return button;
}

void QPagedWidget::addPage(const QString &title, QPage *page)
{
    Q_ASSERT(page);
    m_pageList->addItem(title);
    m_pageStack->addWidget(page);
}

void QPagedWidget::setListWidth(int width)
{
    m_pageList->setFixedWidth(width);
}

void QPagedWidget::selectPage(const QString &title)
{
    const QList<QListWidgetItem *> matches = m_pageList->findItems(title, Qt::MatchExactly);
    if (matches.size() == 1)
        m_pageList->setCurrentItem(matches.first());
}

void QPagedWidget::onPageChanged(int index)
{
    m_pageStack->setCurrentIndex(index);
}

void QPagedWidget::paintEvent(QPaintEvent *)
{
    const int h = height();
    const int listWidth = m_pageList->width();

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.save();
    SoftPanel::paint(painter, width(), h);

    QPainterPath sidebar;
    sidebar.addRoundedRect(5, 5, listWidth - 10, h - 10, 6, 6);
    painter.fillPath(sidebar, sidebarColour);
    // Covers the sidebar's rounded right-hand corners, where it meets the page.
    painter.fillRect(QRectF(15, 5, listWidth - 20, h - 10), sidebarColour);
    painter.restore();
}
