#include "app/applog.h"
#include "app/mainwindow.h"
#include "formats/argumentnames.h"
#include "formats/platformfiles.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QTextCodec>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[])
{
    GoogleMapPage::prepareApplication();
    // A save beyond the file size limit fails with its reason instead of ending the program.
    PlatformFiles::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KV730_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.veltrona.kv730"));
    QTranslator translator;
    QTranslator qtTranslator;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/KV310_SW_Icon.png")));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    MainWindow::loadTranslator(translator, QLocale::system().name());
    app.installTranslator(&translator);
    if (MainWindow::loadQtTranslator(qtTranslator, translator))
        app.installTranslator(&qtTranslator);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        MainWindow::tr("Companion tool for the KV-730 GPS data logger."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        MainWindow::tr("Track files to open (.tkx archives, .gpl logs); shown together."),
        QStringLiteral("[FILE...]"));
    parser.process(app);

    MainWindow window;
    window.show();
    const QStringList files = parser.positionalArguments();
    const QSet<QString> unreadable = ArgumentNames::unreadable(argc, argv);
    if (!files.isEmpty()) {
        // Once the map page is ready, so that the tracks reach the map as well as the lists;
        // from the event loop, so that a failure is reported over the shown window.
        auto* once = new QObject(&window); // going, it takes the connection along
        QObject::connect(
            window.mapWidget()->mapPage(), &GoogleMapPage::loadFinished, once,
            [&window, files, unreadable, once] {
                once->deleteLater();
                QTimer::singleShot(0, &window, [&window, files, unreadable] {
                    window.openFiles(files, false, unreadable);
                });
            });
    }
    return app.exec();
}
