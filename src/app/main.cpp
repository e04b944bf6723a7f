#include "app/application.h"
#include "theme/apptheme.h"

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    Application app(argc, argv);
    Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans.ttf"));
    Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans-Bold.ttf"));
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    app.recordScreenMetrics();
    app.applyStyleSheet();
    app.start();
    return app.exec();
}
