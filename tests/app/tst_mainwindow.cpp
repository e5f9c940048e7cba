#include "app/mainwindow.h"
#include "formats/gpsfilter.h"
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings("Veltrona", "KV-730").clear(); }
    void settings();
    void translator_data();
    void translator();
    void japaneseTranslationComplete();
    void playPauseToggles();
    void gpsFilterReadAtConstruction_data();
    void gpsFilterReadAtConstruction();

private:
    QTemporaryDir m_settingsDir;
};

// The checked unit and time actions, then speedUnit, heightUnit and timeSwitch.
static QStringList unitState(const MainWindow& w)
{
    QStringList state;
    for (const char* name :
         {"kilometersAct", "milesAct", "meterAct", "feetAct", "utcTimeAct", "localTimeAct"}) {
        if (w.action(QLatin1String(name))->isChecked())
            state << QLatin1String(name);
    }
    return state << QString("%1%2%3").arg(w.speedUnit()).arg(w.heightUnit()).arg(w.timeSwitch());
}

void TestMainWindow::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

// Stored values: anything but 0 means miles and feet, anything but 1 means UTC.
void TestMainWindow::settings()
{
    {
        MainWindow w;
        QCOMPARE(unitState(w), (QStringList{"kilometersAct", "meterAct", "localTimeAct", "001"}));
        QCOMPARE(w.lastDirectory(), QDir::homePath());
        QVERIFY(w.windowState() & Qt::WindowMaximized); // no stored geometry
        w.action("milesAct")->trigger();
        w.action("feetAct")->trigger();
        w.action("utcTimeAct")->trigger();
        w.close();
    }
    QSettings stored("Veltrona", "KV-730");
    QVERIFY(stored.contains("geometry"));
    QCOMPARE(unitState(MainWindow()), (QStringList{"milesAct", "feetAct", "utcTimeAct", "110"}));
    stored.setValue("speedUnit", 5);
    stored.setValue("heightUnit", -3);
    stored.setValue("timeSwitch", 2);
    stored.setValue("directory", "/srv/tracks");
    stored.sync();
    MainWindow w;
    QCOMPARE(unitState(w), (QStringList{"milesAct", "feetAct", "utcTimeAct", "110"}));
    QCOMPARE(w.lastDirectory(), QStringLiteral("/srv/tracks"));
}

void TestMainWindow::translator_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fileMenu");
    const struct {
        const char *locale, *file, *fileMenu;
    } rows[] = {{"ja_JP", "ja_JP", "ファイル(&F)"},
                {"zh_TW", "zh_TW", "&File"},
                {"de_DE", "en_US", "&File"},
                {"ja", "en_US", "&File"}};
    for (const auto& r : rows)
        QTest::newRow(r.locale) << r.locale << QString(":/translate/%1.qm").arg(r.file)
                                << QString::fromUtf8(r.fileMenu);
}

void TestMainWindow::translator()
{
    QFETCH(QString, locale);
    QTranslator translator;
    QVERIFY(MainWindow::loadTranslator(translator, locale));
    QTEST(translator.filePath(), "file");
    // An empty translator (en_US, zh_TW) is loaded but not taken by the application.
    QCOMPARE(QCoreApplication::installTranslator(&translator), !translator.isEmpty());
    QTEST(MainWindow().menuBar()->actions().value(0)->text(), "fileMenu");
    QCoreApplication::removeTranslator(&translator);

    // The save flow recognises the chosen filter by comparing it with the single translations.
    auto tr = [&translator](const char* text) {
        const QString t = translator.translate("MainWindow", text);
        return t.isEmpty() ? QString(text) : t;
    };
    QCOMPARE(
        tr("TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)").split(";;"),
        (QStringList{tr("TKX File (*.tkx)"), tr("GPX File (*.gpx)"), tr("KML File (*.kml)"),
                     tr("CSV File (*.csv)")}));
}

void TestMainWindow::japaneseTranslationComplete()
{
    QFile file(QStringLiteral(KV730_TEST_DATA "/../../resources/translate/ja_JP.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString source;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
            ++messages;
        } else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value("type").isEmpty();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            QVERIFY2(finished && (!text.trimmed().isEmpty() || source.isEmpty()),
                     qPrintable(source));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 0);
}

void TestMainWindow::playPauseToggles()
{
    MainWindow w;
    QAction* play = w.action("playAct");
    auto image = [](const QIcon& icon) {
        return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const QImage playIcon = image(QIcon(":/images/play.png"));
    const QImage pauseIcon = image(QIcon(":/images/pause.png"));
    QVERIFY(playIcon != pauseIcon);

    play->trigger();
    QVERIFY(w.isPlaying());
    QCOMPARE(play->toolTip(), QStringLiteral("pause"));
    QCOMPARE(image(play->icon()), pauseIcon);
    QVERIFY(w.action("stopAct")->isEnabled());
    play->trigger();
    QVERIFY(!w.isPlaying());

    // A playback that runs out resets the button by itself; with no points listed it ends at once.
    play->trigger();
    QVERIFY(w.isPlaying());
    QTRY_VERIFY(!w.isPlaying());
    QCOMPARE(play->toolTip(), QStringLiteral("play"));
    QCOMPARE(image(play->icon()), playIcon);
    QVERIFY(!w.action("stopAct")->isEnabled());
}

void TestMainWindow::gpsFilterReadAtConstruction_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no Setting.ini at all
    QTest::addColumn<int>("limit");
    QTest::newRow("no file") << QByteArray() << 1;
    QTest::newRow("off") << QByteArray("[General]\nGPS_filter=0\n") << 0;
    QTest::newRow("no section") << QByteArray("GPS_filter=3\n") << 3;
    QTest::newRow("low 8 bits") << QByteArray("[General]\nGPS_filter=258\n") << 2;
    QTest::newRow("signed") << QByteArray("[General]\nGPS_filter=200\n") << -56;
}

void TestMainWindow::gpsFilterReadAtConstruction()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    if (!content.isEmpty())
        QVERIFY(TestSupport::writeFile(dir.filePath("Setting.ini"), content));
    const QString previous = QDir::currentPath();
    GpsFilter::setLimit(99);
    QVERIFY(QDir::setCurrent(dir.path()));
    delete new MainWindow;
    QDir::setCurrent(previous);
    QTEST(int(GpsFilter::limit()), "limit");
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
