#include "theme/apptheme.h"

#include "theme/geometryprovider.h"

static void initSonvelResources()
{
    Q_INIT_RESOURCE(sonvel);
}

// Registered before main() runs, as long as this object is linked in.
static const bool s_resourcesRegistered = (initSonvelResources(), true);

QPixmap AppTheme::logoPixmap()
{
    if (GeometryProvider::imageFactor() == 2)
        return QPixmap(QStringLiteral(":/images/logo and search icon/logo_480X88.png"));
    return QPixmap(QStringLiteral(":/images/logo and search icon/logo_240X44.png"));
}

QIcon AppTheme::searchIcon()
{
    if (GeometryProvider::imageFactor() == 2)
        return QIcon(QStringLiteral(":/images/logo and search icon/search@2x.png"));
    return QIcon(QStringLiteral(":/images/logo and search icon/search.png"));
}

void AppTheme::registerResources()
{
    initSonvelResources();
}

QColor AppTheme::plainBackground()
{
    return QColor(252, 252, 252);
}

QColor AppTheme::searchHit()
{
    return QColor(Qt::yellow);
}

// Red enough to stand out on the table's grey and on a search hit's yellow.
QColor AppTheme::errorText()
{
    return QColor(0xc0, 0x39, 0x2b);
}

QColor AppTheme::softEdge()
{
    return QColor(200, 200, 200);
}

QColor AppTheme::notificationPanel()
{
    return QColor(10, 56, 73);
}

QColor AppTheme::notificationEdge()
{
    return QColor(0x96, 0x96, 0x96);
}
