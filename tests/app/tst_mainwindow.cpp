#include "app/mainwindow.h"
#include "formats/gpsfilter.h"
#include "isolation.h"
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings("Veltrona", "KV-730").clear(); }
    void translator_data();
    void translator();
    void settingsFilesAtConstruction_data();
    void settingsFilesAtConstruction();

private:
    QTemporaryDir m_settingsDir;
    QStringList m_drives;
};

void TestMainWindow::initTestCase()
{
    Isolation::mainWindow(m_settingsDir.path(), &m_drives);
}

void TestMainWindow::translator_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fileMenu");
    // clang-format off
    QTest::newRow("ja_JP") << "ja_JP" << ":/translate/ja_JP.qm" << QString::fromUtf8("ファイル(&F)");
    QTest::newRow("zh_TW") << "zh_TW" << ":/translate/zh_TW.qm" << "&File";
    QTest::newRow("de_DE falls back") << "de_DE" << ":/translate/en_US.qm" << "&File";
    QTest::newRow("ja without country") << "ja" << ":/translate/en_US.qm" << "&File";
    // clang-format on
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

    if (locale != "ja_JP")
        return;
    // The save flow recognises the chosen filter by comparing it with the single translations.
    auto tr = [&translator](const char* text) { return translator.translate("MainWindow", text); };
    QCOMPARE(
        tr("TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)").split(";;"),
        (QStringList{tr("TKX File (*.tkx)"), tr("GPX File (*.gpx)"), tr("KML File (*.kml)"),
                     tr("CSV File (*.csv)")}));
    const QByteArray ts =
        readFile(QStringLiteral(KV730_TEST_DATA "/../../resources/translate/ja_JP.ts"));
    QVERIFY(ts.count("<message") > 100);
    QCOMPARE(ts.count("<translation>"), ts.count("<message")); // none unfinished or obsolete
    QVERIFY(!ts.contains("<translation></translation>"));
}

void TestMainWindow::settingsFilesAtConstruction_data()
{
    QTest::addColumn<QByteArray>("user");    // the per-user settings file
    QTest::addColumn<QByteArray>("setting"); // ./Setting.ini; null: none at all
    QTest::addColumn<int>("limit");          // of the GPS filter; 999: any
    const QByteArray none;
    // clang-format off
    QTest::newRow("no file") << none << none << 1;
    QTest::newRow("off") << none << QByteArray("[General]\nGPS_filter=0\n") << 0;
    QTest::newRow("no section") << none << QByteArray("GPS_filter=3\n") << 3;
    QTest::newRow("low 8 bits, signed") << none << QByteArray("[General]\nGPS_filter=456\n") << -56;
    QTest::newRow("not a number") << none << QByteArray("GPS_filter=\xff\xfe\n") << 0;
    QTest::newRow("random bytes") << randomBytes(3000, 1) << randomBytes(900, 2) << 999;
    QTest::newRow("wrong types")
        << QByteArray("[General]\ngeometry=@ByteArray(\x01\x02garbage)\ndirectory=@Variant("
                      "\\0\\0\\0\\x7f)\nspeedUnit=@Rect(1 2 3 4)\ntimeSwitch=99999999999999999999\n")
        << QByteArray("[General]\nGPS_filter=@Point(1 2)\n") << 0;
    // clang-format on
}

// Whatever the two files hold, the window starts and writes its settings back.
void TestMainWindow::settingsFilesAtConstruction()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, setting);
    QTemporaryDir dir;
    if (!setting.isNull())
        QVERIFY(writeFile(dir.filePath("Setting.ini"), setting));
    if (!user.isNull())
        QVERIFY(writeFile(QSettings("Veltrona", "KV-730").fileName(), user));
    const QString previous = QDir::currentPath();
    GpsFilter::setLimit(99);
    QVERIFY(QDir::setCurrent(dir.path()));
    MainWindow().close();
    QDir::setCurrent(previous);
    QFETCH(int, limit);
    if (limit != 999)
        QCOMPARE(int(GpsFilter::limit()), limit);
    QCOMPARE(QSettings("Veltrona", "KV-730").status(), QSettings::NoError);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
