#include "app/applog.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QTextCodec>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/KV310_SW_Icon.png")));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    MainWindow::loadTranslator(translator, QLocale::system().name());
    app.installTranslator(&translator);

    MainWindow window;
    window.show();
    return app.exec();
}
