#include "app/mainwindow.h"
#include "formats/gpsfilter.h"
#include "view/mapwidget.h"
#include "view/profilechart.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void storedSettings_data();
    void storedSettings();
    void settingsSurviveRestart();
    void translator_data();
    void translator();
    void saveFilterTranslationsAgree();
    void translationFiles_data();
    void translationFiles();
    void actions();
    void menusAndToolBar();
    void playPauseToggles();
    void gpsFilterFromWorkingDirectory_data();
    void gpsFilterFromWorkingDirectory();

private:
    QTemporaryDir m_settingsDir;
};

static QSettings userSettings()
{
    return QSettings(QStringLiteral("Veltrona"), QStringLiteral("KV-730"));
}

static QStringList checkedActions(const MainWindow& w)
{
    QStringList names;
    for (const char* name :
         {"kilometersAct", "milesAct", "meterAct", "feetAct", "utcTimeAct", "localTimeAct"}) {
        if (w.action(QLatin1String(name))->isChecked())
            names << QLatin1String(name);
    }
    return names;
}

static QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

void TestMainWindow::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void TestMainWindow::init()
{
    QSettings s = userSettings();
    s.clear();
    s.sync();
}

void TestMainWindow::storedSettings_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QVector<int>>("units"); // speed, height, time

    const QStringList firstStart{"kilometersAct", "meterAct", "localTimeAct"};
    QTest::newRow("first start") << QVariantMap() << firstStart << QVector<int>{0, 0, 1};
    QTest::newRow("miles") << QVariantMap{{"speedUnit", 1}}
                           << QStringList{"milesAct", "meterAct", "localTimeAct"}
                           << QVector<int>{1, 0, 1};
    QTest::newRow("speed 5") << QVariantMap{{"speedUnit", 5}}
                             << QStringList{"milesAct", "meterAct", "localTimeAct"}
                             << QVector<int>{1, 0, 1};
    QTest::newRow("height -3") << QVariantMap{{"heightUnit", -3}}
                               << QStringList{"kilometersAct", "feetAct", "localTimeAct"}
                               << QVector<int>{0, 1, 1};
    QTest::newRow("time 0") << QVariantMap{{"timeSwitch", 0}}
                            << QStringList{"kilometersAct", "meterAct", "utcTimeAct"}
                            << QVector<int>{0, 0, 0};
    QTest::newRow("time 2") << QVariantMap{{"timeSwitch", 2}}
                            << QStringList{"kilometersAct", "meterAct", "utcTimeAct"}
                            << QVector<int>{0, 0, 0};
    QTest::newRow("all stored") << QVariantMap{{"speedUnit", 0},
                                               {"heightUnit", 1},
                                               {"timeSwitch", 1},
                                               {"directory", "/srv/tracks"}}
                                << QStringList{"kilometersAct", "feetAct", "localTimeAct"}
                                << QVector<int>{0, 1, 1};
}

void TestMainWindow::storedSettings()
{
    QFETCH(QVariantMap, stored);
    QFETCH(QStringList, checked);
    QFETCH(QVector<int>, units);
    {
        QSettings s = userSettings();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            s.setValue(it.key(), it.value());
    }

    MainWindow w;
    QCOMPARE(checkedActions(w), checked);
    QCOMPARE((QVector<int>{w.speedUnit(), w.heightUnit(), w.timeSwitch()}), units);
    QCOMPARE(w.lastDirectory(), stored.value("directory", QDir::homePath()).toString());
    QVERIFY(w.windowState() & Qt::WindowMaximized); // no stored geometry in any row
}

void TestMainWindow::settingsSurviveRestart()
{
    {
        MainWindow w;
        Track t;
        t.fmt = 2;
        t.points.resize(1);
        t.points[0].speed = 1000;
        w.tracks() = {t};
        w.mapWidget()->updateTrackList();
        QTreeWidgetItem* item =
            w.mapWidget()->findChild<QTreeWidget*>("treeWidget")->topLevelItem(0)->child(0);
        QVERIFY(item->toolTip(0).contains("10.00 km/hr"));
        w.action("milesAct")->trigger();
        QVERIFY(item->toolTip(0).contains("6.21 mi/hr")); // the switch refreshes the tool tips
        w.action("feetAct")->trigger();
        w.action("utcTimeAct")->trigger();
        QCOMPARE((QVector<int>{w.speedUnit(), w.heightUnit(), w.timeSwitch()}),
                 (QVector<int>{1, 1, 0}));
        w.close();
    }
    {
        QSettings s = userSettings();
        QVERIFY(s.contains("geometry"));
        QCOMPARE(s.value("directory").toString(), QDir::homePath());
        QCOMPARE(s.value("speedUnit").toInt(), 1);
        QCOMPARE(s.value("heightUnit").toInt(), 1);
        QCOMPARE(s.value("timeSwitch").toInt(), 0);
    }
    MainWindow w;
    QCOMPARE(checkedActions(w), (QStringList{"milesAct", "feetAct", "utcTimeAct"}));
    QCOMPARE((QVector<int>{w.speedUnit(), w.heightUnit(), w.timeSwitch()}),
             (QVector<int>{1, 1, 0}));
}

void TestMainWindow::translator_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fileMenu");

    QTest::newRow("ja_JP") << "ja_JP"
                           << ":/translate/ja_JP.qm" << QString::fromUtf8("ファイル(&F)");
    QTest::newRow("zh_TW") << "zh_TW"
                           << ":/translate/zh_TW.qm"
                           << "&File";
    QTest::newRow("en_US") << "en_US"
                           << ":/translate/en_US.qm"
                           << "&File";
    QTest::newRow("de_DE falls back") << "de_DE"
                                      << ":/translate/en_US.qm"
                                      << "&File";
    QTest::newRow("ja without country") << "ja"
                                        << ":/translate/en_US.qm"
                                        << "&File";
}

void TestMainWindow::translator()
{
    QFETCH(QString, locale);
    QFETCH(QString, file);
    QFETCH(QString, fileMenu);

    QTranslator translator;
    QVERIFY(MainWindow::loadTranslator(translator, locale));
    QCOMPARE(translator.filePath(), file);
    // An empty translator (en_US, zh_TW) is loaded but not taken by the application.
    QCOMPARE(QCoreApplication::installTranslator(&translator), !translator.isEmpty());
    {
        MainWindow w;
        QCOMPARE(w.menuBar()->actions().value(0)->text(), fileMenu);
        if (fileMenu == "&File")
            QCOMPARE(w.windowTitle(), QStringLiteral("KV-730 S-OPC-41-1807041"));
    }
    QCoreApplication::removeTranslator(&translator);
}

void TestMainWindow::saveFilterTranslationsAgree()
{
    // The save flow recognises the chosen filter by comparing it with the single translations.
    QTranslator ja;
    QVERIFY(MainWindow::loadTranslator(ja, "ja_JP"));
    auto tr = [&ja](const char* text) { return ja.translate("MainWindow", text); };
    QCOMPARE(
        tr("TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)").split(";;"),
        (QStringList{tr("TKX File (*.tkx)"), tr("GPX File (*.gpx)"), tr("KML File (*.kml)"),
                     tr("CSV File (*.csv)")}));
}

void TestMainWindow::translationFiles_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("translated");
    QTest::newRow("ja_JP") << "ja_JP" << true;
    QTest::newRow("en_US") << "en_US" << false;
    QTest::newRow("zh_TW") << "zh_TW" << false;
}

void TestMainWindow::translationFiles()
{
    QFETCH(QString, language);
    QFETCH(bool, translated);

    QFile file(QStringLiteral(KV730_TEST_DATA "/../../resources/translate/%1.ts").arg(language));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QXmlStreamReader xml(&file);
    QString context, source;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
            ++messages;
        } else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value("type").isEmpty();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            const QString where = context + ": " + source;
            if (translated)
                QVERIFY2(finished && (!text.trimmed().isEmpty() || source.isEmpty()),
                         qPrintable(where));
            else
                QVERIFY2(!finished && text.trimmed().isEmpty(), qPrintable(where));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 0);
}

void TestMainWindow::actions()
{
    MainWindow w;
    struct Expected {
        const char* name;
        const char* text;
        bool icon, checkable, enabled, checked;
    };
    const Expected expected[] = {
        {"openAct", "&Open", true, false, true, false},
        {"saveAct", "&Save", true, false, true, false},
        {"exitAct", "E&xit", false, false, true, false},
        {"filterAct", "Filter", true, false, true, false},
        {"downloadAct", "Download all track points", true, false, false, false},
        {"deleteAct", "Delete all track points", true, false, false, false},
        {"deviceSettingAct", "Device setting", true, false, false, false},
        {"playAct", "play", true, false, true, false},
        {"stopAct", "stop", true, false, false, false},
        {"rewindAct", "rewind", true, false, true, false},
        {"aboutAct", "&About", false, false, true, false},
        {"kilometersAct", "Kilometers", false, true, true, true},
        {"milesAct", "Miles", false, true, true, false},
        {"feetAct", "Feet", false, true, true, false},
        {"meterAct", "Meter", false, true, true, true},
        {"utcTimeAct", "UTC time", false, true, true, false},
        {"localTimeAct", "Local time", false, true, true, true},
    };

    QList<QAction*> created;
    for (QAction* a : w.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!a->objectName().isEmpty())
            created << a;
    }
    QCOMPARE(created.size(), int(std::size(expected)));
    for (int i = 0; i < created.size(); ++i) {
        const Expected& e = expected[i];
        QAction* a = created[i];
        QCOMPARE(a->objectName(), QLatin1String(e.name));
        QCOMPARE(a->text(), QLatin1String(e.text));
        QCOMPARE(!a->icon().isNull(), e.icon);
        QCOMPARE(a->isCheckable(), e.checkable);
        QCOMPARE(a->isEnabled(), e.enabled);
        QCOMPARE(a->isChecked(), e.checked);
        QVERIFY2(a->shortcut().isEmpty(), e.name);
    }
    QCOMPARE(w.action("aboutAct")->statusTip(), QStringLiteral("Show the application's About box"));
    QVERIFY(!w.deviceGroup()->isEnabled());
    QCOMPARE(w.deviceGroup()->actions(),
             (QList<QAction*>{w.action("downloadAct"), w.action("deleteAct"),
                              w.action("deviceSettingAct")}));
    // The unit and time pairs exclude each other.
    w.action("milesAct")->trigger();
    QVERIFY(!w.action("kilometersAct")->isChecked());
    w.action("utcTimeAct")->trigger();
    QVERIFY(!w.action("localTimeAct")->isChecked());
}

static QStringList describe(const QList<QAction*>& actions, const QToolBar* bar = nullptr)
{
    QStringList out;
    for (QAction* a : actions) {
        if (a->isSeparator())
            out << "|";
        else if (a->menu())
            out << a->text() + "[" + describe(a->menu()->actions()).join(' ') + "]";
        else if (bar && bar->widgetForAction(a) && a->objectName().isEmpty())
            out << bar->widgetForAction(a)->metaObject()->className();
        else
            out << a->objectName();
    }
    return out;
}

void TestMainWindow::menusAndToolBar()
{
    MainWindow w;
    QCOMPARE(describe(w.menuBar()->actions()).join(' '),
             QStringLiteral("&File[openAct saveAct | exitAct] "
                            "Device[downloadAct deleteAct deviceSettingAct] "
                            "Unit[Speed[kilometersAct milesAct] Height[meterAct feetAct]] "
                            "Time[localTimeAct utcTimeAct] "
                            "View[statisticsDockAct profileDockAct] Help[aboutAct]"));
    QCOMPARE(w.findChild<QDockWidget*>("statisticsDock")->widget(),
             static_cast<QWidget*>(w.mapWidget()->statisticsView()));
    QCOMPARE(w.findChild<QDockWidget*>("profileDock")->widget(),
             static_cast<QWidget*>(w.mapWidget()->profileChart()));

    const QList<QToolBar*> bars = w.findChildren<QToolBar*>();
    QCOMPARE(bars.size(), 1);
    QToolBar* bar = bars.first();
    QCOMPARE(bar->windowTitle(), QStringLiteral("File"));
    QVERIFY(!bar->isFloatable());
    QVERIFY(!bar->isMovable());
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(describe(bar->actions(), bar).join(' '),
             QStringLiteral("openAct saveAct | filterAct | downloadAct deleteAct deviceSettingAct "
                            "| QWidget | rewindAct playAct stopAct QLabel QSlider"));

    QComboBox* combo = w.deviceComboBox();
    QCOMPARE(combo->width(), 180);
    QSlider* slider = w.findChild<QSlider*>("speedSlider");
    QVERIFY(slider);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE((QVector<int>{slider->minimum(), slider->maximum(), slider->value(),
                           slider->tickInterval(), slider->width()}),
             (QVector<int>{0, 2, 0, 1, 100}));
    QCOMPARE(slider->tickPosition(), QSlider::TicksBelow);
    QCOMPARE(w.centralWidget(), static_cast<QWidget*>(w.mapWidget()));
}

void TestMainWindow::playPauseToggles()
{
    MainWindow w;
    QAction* play = w.action("playAct");
    QAction* stop = w.action("stopAct");
    const QImage playIcon = iconImage(QIcon(":/images/play.png"));
    const QImage pauseIcon = iconImage(QIcon(":/images/pause.png"));
    QVERIFY(playIcon != pauseIcon);

    play->trigger();
    QVERIFY(w.isPlaying());
    QCOMPARE(play->toolTip(), QStringLiteral("pause"));
    QCOMPARE(iconImage(play->icon()), pauseIcon);
    QVERIFY(stop->isEnabled());

    play->trigger();
    QVERIFY(!w.isPlaying());
    QCOMPARE(play->toolTip(), QStringLiteral("play"));
    QCOMPARE(iconImage(play->icon()), playIcon);
    QVERIFY(!stop->isEnabled());

    // A playback that runs out resets the button by itself; with no points listed it ends at once.
    play->trigger();
    QVERIFY(w.isPlaying());
    QTRY_VERIFY(!w.isPlaying());
    QCOMPARE(play->toolTip(), QStringLiteral("play"));
    QCOMPARE(iconImage(play->icon()), playIcon);
    QVERIFY(!stop->isEnabled());
}

void TestMainWindow::gpsFilterFromWorkingDirectory_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no Setting.ini at all
    QTest::addColumn<int>("limit");

    QTest::newRow("no file") << QByteArray() << 1;
    QTest::newRow("key absent") << QByteArray("[General]\nOther=4\n") << 1;
    QTest::newRow("off") << QByteArray("[General]\nGPS_filter=0\n") << 0;
    QTest::newRow("three") << QByteArray("GPS_filter=3\n") << 3;
    QTest::newRow("low 8 bits") << QByteArray("[General]\nGPS_filter=258\n") << 2;
    QTest::newRow("signed") << QByteArray("[General]\nGPS_filter=200\n") << -56;
}

void TestMainWindow::gpsFilterFromWorkingDirectory()
{
    QFETCH(QByteArray, content);
    QFETCH(int, limit);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!content.isEmpty()) {
        QFile f(dir.filePath("Setting.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QString previous = QDir::currentPath();
    GpsFilter::setLimit(99);
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        MainWindow w;
        QDir::setCurrent(previous);
        QCOMPARE(int(GpsFilter::limit()), limit);
    }
    QDir::setCurrent(previous);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
