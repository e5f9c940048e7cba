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
        // --help and --version are answered before anything needs a display. Qt's own
        // options (-platform, -style) are known only to QApplication, so other options are
        // checked there.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(KV730_VERSION));
        installTranslators(english, translator, qtTranslator);
        QCommandLineParser parser;
        setUp(parser);
        parser.parse(QCoreApplication::arguments());
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
