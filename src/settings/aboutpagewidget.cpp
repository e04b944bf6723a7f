#include "settings/aboutpagewidget.h"

#include "app/productinfo.h"
#include "theme/vrfontprovider.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QVariant>

namespace {

QLabel *makeLabel(const QString &objectName, const QString &text, const QFont &font)
{
    auto *label = new QLabel(text);
    label->setObjectName(objectName);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    label->setProperty("aboutText", true);
    return label;
}

} // namespace

AboutPageWidget::AboutPageWidget(QWidget *parent)
    : QPage(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 20, 10, 10);
    layout->setSpacing(20);

    const QString version = QString::fromLatin1(ProductInfo::version);
    const QString makerAddress = QString::fromLatin1(ProductInfo::makerWebAddress);
    const QList<QLabel *> labels{
        makeLabel(QStringLiteral("productLabel"), QStringLiteral("Sonvel"), VrFontProvider::font20(QFont::Normal)),
        makeLabel(QStringLiteral("versionLabel"), tr("Version : %1").arg(version),
                  VrFontProvider::font14(QFont::Normal)),
        makeLabel(QStringLiteral("makerLabel"),
                  tr("A product from Holmvar. To know more please visit ") + makerAddress,
                  VrFontProvider::font16(QFont::Normal)),
    };
    for (QLabel *label : labels)
        layout->addWidget(label, 0, Qt::AlignCenter);
    layout->addStretch(1);
}
