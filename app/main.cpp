#include "app/applog.h"
#include "app/mainwindow.h"
#include "formats/filenamecodec.h"
#include "formats/platformfiles.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>
#include <QTextCodec>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace
{

void installTranslators(QTranslator& english, QTranslator& translator, QTranslator& qtTranslator)
{
    // The English translation lies under every other language, so that a text another
    // translation lacks still reads as English and not as the text in the code.
    if (english.load(QStringLiteral(":/translate/en_US.qm")))
        QCoreApplication::installTranslator(&english);
    MainWindow::loadTranslator(translator, QLocale::system().name());
    QCoreApplication::installTranslator(&translator);
    if (MainWindow::loadQtTranslator(qtTranslator, translator))
        QCoreApplication::installTranslator(&qtTranslator);
}

// The arguments without the options that QApplication takes for itself (-platform offscreen,
// --style Fusion, -reverse, ...), so that the rest can be checked before a display is needed.
QStringList withoutQtOptions(QStringList arguments)
{
    static const QStringList withValue = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
        "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
        "style", "stylesheet", "name", "title", "visual", "ncols", "im", "inputstyle"};
    static const QStringList flags = {"reverse", "widgetcount", "nograb", "dograb", "sync",
                                      "cmap", "testability"};
    for (int i = 1; i < arguments.size();) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--"))
            break;
        QString name = a.startsWith(QLatin1String("--")) ? a.mid(2)
                       : a.startsWith(QLatin1Char('-')) ? a.mid(1)
                                                        : QString();
        const bool inlineValue = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (withValue.contains(name))
            arguments.erase(arguments.begin() + i,
                            arguments.begin() + qMin(arguments.size(), i + (inlineValue ? 1 : 2)));
        else if (flags.contains(name))
            arguments.removeAt(i);
        else
            ++i;
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    GoogleMapPage::prepareApplication();
    // A save beyond the file size limit fails with its reason instead of ending the program.
    PlatformFiles::ignoreFileSizeSignal();
    // The tool's debug lines only when asked for: QT_LOGGING_RULES overrides this rule.
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*.debug=false"));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    FileNameCodec::install(); // names that are no UTF-8 text still open
    QTranslator english;
    QTranslator translator;
    QTranslator qtTranslator;
    const auto setUp = [](QCommandLineParser& parser) {
        parser.setApplicationDescription(
            MainWindow::tr("Companion tool for the KV-730 GPS data logger."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            MainWindow::tr("Track files to open (.tkx archives, .gpl logs); shown together."),
            QStringLiteral("[FILE...]"));
    };
    {
        // --help, --version and a mistaken option are answered before anything needs a
        // display, which a user without one would otherwise be told about instead.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(KV730_VERSION));
        installTranslators(english, translator, qtTranslator);
        QCommandLineParser parser;
        setUp(parser);
        if (!parser.parse(withoutQtOptions(QCoreApplication::arguments()))) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                         qPrintable(parser.errorText()));
            return 1;
        }
        if (parser.isSet(QStringLiteral("help-all")))
            parser.process(core); // prints and exits, as does each of the two below
        if (parser.isSet(QStringLiteral("help")))
            parser.showHelp();
        if (parser.isSet(QStringLiteral("version")))
            parser.showVersion();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KV730_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.veltrona.kv730"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/KV310_SW_Icon.png")));
    installTranslators(english, translator, qtTranslator);
    QCommandLineParser parser;
    setUp(parser);
    parser.process(app);
    const QStringList files = parser.positionalArguments();

    MainWindow window;
    window.show();
    if (!files.isEmpty()) {
        // Once the map page is ready, so that the tracks reach the map as well as the lists;
        // from the event loop, so that a failure is reported over the shown window.
        auto* once = new QObject(&window); // going, it takes the connection along
        QObject::connect(
            window.mapWidget()->mapPage(), &GoogleMapPage::loadFinished, once,
            [&window, files, once] {
                once->deleteLater();
                QTimer::singleShot(0, &window, [&window, files] {
                    window.openFiles(files, false);
                });
            });
    }
    return app.exec();
}
