#include "app/mainwindow.h"
#include "device/devicesettingdialog.h"
#include "device/trackfileheaderdialog.h"
#include "dialoganswerer.h"
#include "isolation.h"
#include "testsupport.h"
#include "view/filterdialog.h"
#include "view/mapwidget.h"
#include "view/trackstatistics.h"

#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings("Veltrona", "KV-730").clear(); }
    void settings();
    void translator_data();
    void translator();
    void titlesAndShortcuts_data();
    void titlesAndShortcuts();
    void statusMessages();

private:
    QTemporaryDir m_settingsDir;
    QStringList m_drives; // none: the machine's own volumes stay out of sight
};

// speedUnit, heightUnit and timeSwitch, then the check marks of miles, feet and UTC time,
// then speed colours as the map shows them.
static QString unitState(const MainWindow& w)
{
    return QString::asprintf("%d%d%d %d%d%d %d", w.speedUnit(), w.heightUnit(), w.timeSwitch(),
                             w.action("milesAct")->isChecked(), w.action("feetAct")->isChecked(),
                             w.action("utcTimeAct")->isChecked(), w.mapWidget()->speedColours());
}

// Texts cut off by a widget too small for them, in the shown windows.
static QStringList clippedTexts(std::initializer_list<QWidget*> windows)
{
    QStringList clipped;
    for (QWidget* window : windows) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            clipped << window->objectName() + " not shown";
        const QList<QWidget*> children = window->findChildren<QWidget*>();
        for (const QWidget* w : children) {
            const QSize hint = w->sizeHint();
            // Qt's own parts (dock title buttons) are sized by the style.
            if (w->isVisible() && (w->inherits("QLabel") || w->inherits("QAbstractButton")) &&
                !w->objectName().startsWith("qt_") &&
                (w->width() < hint.width() || w->height() < hint.height()))
                clipped << w->objectName() + QString::asprintf(" %dx%d", w->width(), w->height());
        }
    }
    return clipped;
}

void TestMainWindow::initTestCase()
{
    Isolation::mainWindow(m_settingsDir.path(), &m_drives);
}

// Stored values: anything but 0 means miles and feet, anything but 1 means UTC. The docks'
// layout is kept as well.
void TestMainWindow::settings()
{
    {
        MainWindow w;
        QCOMPARE(unitState(w), QStringLiteral("001 000 0"));
        QCOMPARE(w.lastDirectory(), QDir::homePath());
        QVERIFY(w.windowState() & Qt::WindowMaximized); // no stored geometry
        // Maximised on the offscreen screen of 800 x 600, the docks leave the height to the map.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* statistics = w.findChild<QDockWidget*>("statisticsDock");
        auto* profile = w.findChild<QDockWidget*>("profileDock");
        QCOMPARE(w.tabifiedDockWidgets(statistics), QList<QDockWidget*>{profile});
        QTRY_VERIFY(profile->height() <= w.height() / 4);
        QVERIFY(w.height() <= 600 && w.mapWidget()->height() >= w.height() / 2);
        QVERIFY(w.findChild<QSlider*>("speedSlider")->isVisible()); // not behind the tool bar's ">>"
        statistics->toggleViewAction()->trigger();
        w.action("milesAct")->trigger();
        w.action("feetAct")->trigger();
        w.action("utcTimeAct")->trigger();
        w.action("speedColoursAct")->trigger();
        w.close();
    }
    QSettings stored("Veltrona", "KV-730");
    QVERIFY(stored.contains("geometry"));
    QCOMPARE(unitState(MainWindow()), QStringLiteral("110 111 1"));
    stored.setValue("speedUnit", 5);
    stored.setValue("heightUnit", -3);
    stored.setValue("timeSwitch", 2);
    stored.setValue("directory", "/srv/tracks");
    stored.sync();
    MainWindow w;
    QCOMPARE(unitState(w), QStringLiteral("110 111 1"));
    QCOMPARE(w.lastDirectory(), QStringLiteral("/srv/tracks"));
    QVERIFY(w.findChild<QDockWidget*>("statisticsDock")->isHidden()); // the layout too
    QVERIFY(!w.findChild<QDockWidget*>("profileDock")->isHidden());
}

void TestMainWindow::translator_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("qtCancel"); // Qt's own text; empty: Qt's translation not loaded
    // clang-format off
    QTest::newRow("ja_JP") << "ja_JP" << ":/translate/ja_JP.qm" << QString::fromUtf8("ファイル(&F)")
                           << QString::fromUtf8("キャンセル");
    QTest::newRow("zh_TW") << "zh_TW" << ":/translate/zh_TW.qm" << "&File" << "";
    QTest::newRow("de_DE falls back") << "de_DE" << ":/translate/en_US.qm" << "&File" << "";
    QTest::newRow("ja without country") << "ja" << ":/translate/en_US.qm" << "&File" << "";
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
    {
        MainWindow window;
        QTEST(window.menuBar()->actions().value(0)->text(), "fileMenu");
        FilterDialog filter;
        DeviceConfig config;
        DeviceSettingDialog settings(config);
        QVector<TrackFileHeader> headers(2);
        TrackFileHeaderDialog files(headers, nullptr);
        const QStringList clipped = clippedTexts({&window, &filter, &settings, &files});
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    }
    // The unit names are those of the point list in every language.
    Track track;
    track.fmt = 2;
    track.points = {point(25, 121, 10, 0, 0, 1000), point(25.01, 121, 20, 60, 1, 2000)};
    QStringList values;
    for (const auto& row : TrackStatistics::compute(track).rows(1, 1, 0))
        values << row.second;
    QCOMPARE(values.filter(QRegularExpression(" (mi/hr|feet|mi)$")).size(), 6);
    QCoreApplication::removeTranslator(&translator);

    // Qt's own texts (file dialog, buttons) follow the tool's language.
    QFETCH(QString, qtCancel);
    QTranslator qtTranslator;
    const QString qtFile = QLibraryInfo::location(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm";
    if (!qtCancel.isEmpty() && !QFile::exists(qtFile))
        QSKIP("Qt's translations are not installed (qttranslations5-l10n)");
    QCOMPARE(MainWindow::loadQtTranslator(qtTranslator, translator), !qtCancel.isEmpty());
    if (!qtCancel.isEmpty())
        QCOMPARE(qtTranslator.translate("QPlatformTheme", "Cancel"), qtCancel);

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

void TestMainWindow::titlesAndShortcuts_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("shown"); // the dialog's title, the keys, the menu titles
    // clang-format off
    const char* const rows[][2] = {
        {"184 1", "Device setting"}, {"184 0", "Device setting"},
        {"deleteAct", "Delete all track points"},
        {"aboutAct", "About KV730 Tool"}, {"open", "Open"},
        {"progress", "Download all track points"}, {"files", "Select Track Files"},
        {"openAct keys", "Ctrl+O"}, {"saveAct keys", "Ctrl+S"},
        {"exitAct keys", "Ctrl+Q"}, {"aboutAct keys", "F1"},
        {"menus", "&File &Device &Unit &Time &View &Help "}};
    // clang-format on
    for (const auto& row : rows)
        QTest::newRow(row[0]) << row[0] << row[1];
}

// Every dialog says what it is about; the usual keys and accelerators work.
void TestMainWindow::titlesAndShortcuts()
{
    QFETCH(QString, what);
    MainWindow w;
    QTemporaryDir drive;
    QVERIFY(writeFile(drive.filePath("kv730.ini"), "[Setting]\n"));
    w.slotDeviceAdded(drive.path() + '/');
    QString shown;
    DialogAnswerer answerer;
    answerer.expect<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->windowTitle();
        box->done(QMessageBox::No);
    });
    const QStringList words = what.split(' ');
    QVector<TrackFileHeader> headers;
    if (words.first().toInt() > 0)
        QMetaObject::invokeMethod(&w, "OnRecvStatus", Q_ARG(int, words.first().toInt()),
                                  Q_ARG(int, words.last().toInt()));
    else if (words.value(1) == "keys")
        shown = w.action(words.first())->shortcut().toString();
    else if (w.action(what))
        w.action(what)->trigger();
    else if (what == "open")
        w.openFile(drive.filePath("missing.tkx"));
    else if (what == "progress")
        shown = w.findChild<QProgressDialog*>()->windowTitle();
    else if (what == "files")
        shown = TrackFileHeaderDialog(headers, &w).windowTitle();
    for (QAction* menu : w.menuBar()->actions())
        shown += what == "menus" ? menu->text() + ' ' : "";
    QTEST(shown, "shown");
}

// The status bar says what was opened and saved, and which filter narrows the list.
void TestMainWindow::statusMessages()
{
    MainWindow w;
    QTemporaryDir dir;
    w.tracks() = {Track(), Track()};
    w.tracks()[0].fmt = 2;
    const qint64 t = 1400000000;
    w.tracks()[0].points = {point(25, 121, 0, t, 1, 500), point(25.0001, 121, 0, t + 9, 0, 1500),
                            point(25.0002, 121, 0, t + 19, 0, 2500)};
    QVERIFY(w.saveFile(dir.filePath("a"), "TKX File (*.tkx)", {0, 1}, true));
    QCOMPARE(w.statusBar()->currentMessage(), QString("Saved a.tkx (tracks: 2, points: 1)."));
    QVERIFY(w.saveFile(dir.filePath("b.tkx"), "", {0}, false));
    DialogAnswerer answerer;
    answerer.expectBox();
    QVERIFY(!w.openFiles({dir.filePath("a.tkx"), dir.filePath("none.tkx"), dir.filePath("b.tkx")}));
    QCOMPARE(w.statusBar()->currentMessage(), QString("Opened 2 files (tracks: 3, points: 4)."));
    QVERIFY(w.openFile(dir.filePath("b.tkx")));
    QCOMPARE(w.statusBar()->currentMessage(), QString("Opened b.tkx (tracks: 1, points: 3)."));

    auto* filter = w.findChild<QLabel*>("filterStatus");
    auto* tree = w.findChild<QTreeWidget*>("treeWidget");
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    w.mapWidget()->showTrackPoints(10.0f, 2);
    QCOMPARE(filter->text(), QString("Filter: speed >= 10 km/hr (2 of 3 points listed)"));
    QVERIFY(!filter->isHidden());
    w.mapWidget()->showTrackPoints(0.0f, 6);
    QCOMPARE(filter->text(), QString("Filter: marked points (1 of 3 points listed)"));
    w.mapWidget()->TreeWidgetItemDoubleClicked(tree->currentItem(), 0); // every point again
    QVERIFY(filter->isHidden());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
