#include "app/application.h"
#include "app/productinfo.h"
#include "theme/apptheme.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QLoggingCategory>

namespace {

const QString kVerbose = QStringLiteral("verbose");

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Sonvel: Manage Your Music Tags"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(kVerbose, QStringLiteral("Print diagnostic messages.")));
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Audio files or folders to add."),
                                 QStringLiteral("[FILE|FOLDER]..."));
}

// --help and --version must work where no display is, so they are answered
// before the QApplication needs one; a bare core application is enough to
// print them. Unknown options wait for the full parse, which knows the
// window system's own.
void answerWithoutDisplay(int &argc, char **argv, QCommandLineParser &parser)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (!parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("version")))
        return;
    QCoreApplication bare(argc, argv);
    parser.process(bare); // prints and exits
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProductInfo::version));
    QCommandLineParser parser;
    describeOptions(parser);
    answerWithoutDisplay(argc, argv, parser);
    // Diagnostics are for whoever asks; warnings always print.
    if (!parser.isSet(kVerbose))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    AppTheme::registerResources();
    Application app(argc, argv);
    parser.process(app);
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
