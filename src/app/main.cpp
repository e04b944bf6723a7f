#include "app/application.h"
#include "app/productinfo.h"
#include "theme/apptheme.h"

#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    Application app(argc, argv);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProductInfo::version));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sonvel: Manage Your Music Tags"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Audio files or folders to add."),
                                 QStringLiteral("[FILE|FOLDER]..."));
    parser.process(app); // --help and --version print and exit here
    app.setStartupPaths(parser.positionalArguments());

    Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans.ttf"));
    Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans-Bold.ttf"));
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    app.recordScreenMetrics();
    app.applyStyleSheet();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/sonvel.png")));
    app.start();
    return app.exec();
}
