#include "app/downloadrun.h"
#include "app/mainwindow.h"
#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/drivewatcherprivate.h"
#include "device/trackfileheaderdialog.h"
#include "dialoganswerer.h"
#include "formats/fileformattkr.h"
#include "formats/gpsfilter.h"
#include "isolation.h"
#include "testsupport.h"
#include "view/filterdialog.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"

#include <QWebFrame>
#include <QWebView>
#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

// `count` logger lines from 10:<minute>:10 on 6 May of `year`, one second and 10 km/h apart,
// the first one marked.
static QByteArray logLines(int year, int minute, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QString::asprintf(
                    "1,%d:05:06-10:%02d:%d,%cGPS,2502.%d,N,12130.5678,E,35.2,%d.00,0,0\r\n", year,
                    minute, 10 + i, i ? '*' : '@', 1000 + i, 10 * (i + 1))
                    .toLatin1();
    return text;
}

// The TKX form of a collection: two collections are the same when these bytes are.
static QByteArray tkx(const QVector<Track>& tracks)
{
    QTemporaryDir dir;
    QString name = dir.filePath("t.tkx");
    QList<int> all;
    for (int i = 0; i < tracks.size(); ++i)
        all << i;
    return FileFormatTKR().save(tracks, name, all, false) ? readFile(name) : QByteArray("-");
}

// The real main window, driven as a user would through whole journeys, one data row each.
class TestJourneys : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void journey_data();
    void journey();
    void settingsFilesAtConstruction_data();
    void settingsFilesAtConstruction();

private:
    void step(const QString& name);
    void pollDrives() { m_w->driveWatcher()->privateObject()->parseDeviceInfo(); }
    void chooseFile(const QString& path, const QString& filter = QString())
    {
        m_answers->expect<QFileDialog>([path, filter](QFileDialog* dialog) {
            if (!filter.isEmpty())
                dialog->selectNameFilter(filter);
            dialog->setDirectory(QFileInfo(path).absolutePath());
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
    }
    // Ticks every file of the logger (or none) and applies, after `before`.
    void select(bool all, const std::function<void()>& before = {})
    {
        m_answers->expect<TrackFileHeaderDialog>([all, before](TrackFileHeaderDialog* dialog) {
            if (before)
                before();
            dialog->rootItem()->setCheckState(0, all ? Qt::Checked : Qt::Unchecked);
            dialog->Apply();
        });
    }
    void trigger(const char* action)
    {
        m_w->action(action)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(m_answers->done(), 20000);
    }
    QTreeWidgetItem* trackRoot()
    {
        return m_w->mapWidget()->findChild<QTreeWidget*>("treeWidget")->topLevelItem(0);
    }
    // The message of a download that ended at `file`.
    QString failure(const char* text, const QString& file, const QString& reason, int left)
    {
        return QString("%1\nThe track file %2 could not be downloaded: %3.")
                   .arg(text, QDir::toNativeSeparators(file), reason) +
               (left ? QString("\n%1 further track file(s) were not downloaded.").arg(left) : "");
    }

    QTemporaryDir m_tmp;
    QString m_logger, m_busy, m_archive, m_out;
    QStringList m_drives;
    QScopedPointer<MainWindow> m_w;
    QScopedPointer<DialogAnswerer> m_answers;
    QStringList m_steps;
    bool m_opened = false; // the collection is the archive, as opened
};

void TestJourneys::initTestCase()
{
    Isolation::mainWindow(m_tmp.filePath("settings"), &m_drives);
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*=false"));
    m_archive = m_tmp.filePath("two.tkx");
    Track t{0, 1, {point(25, 121, 0, 1399371630, 1), point(25.1, 121, 0, 1399371631)}};
    QVERIFY(writeFile(m_archive, tkx({t, t})));
}

void TestJourneys::init()
{
    m_logger = m_tmp.filePath("logger/"), m_busy = m_tmp.filePath("busy/"),
    m_out = m_tmp.filePath("out/");
    for (const QString& dir : {m_logger, m_busy, m_out})
        QVERIFY(QDir(dir).removeRecursively() && QDir().mkpath(dir));
    for (const QString& drive : {m_logger, m_busy})
        QVERIFY(writeFile(drive + "kv730.ini", "Data Logger = Position:G-Sensor\n"));
    QVERIFY(writeFile(m_logger + "a.gpl", logLines(2016, 1, 3)));
    QVERIFY(writeFile(m_logger + "b.GPL", logLines(2015, 2, 2))); // no date the header takes
    QVERIFY(writeFile(m_logger + "c.gpl", "no usable line\r\n"));
    // Points, then zeros that take the worker a second to read (a.gpl) or for ever (z.gpl).
    for (const QString name : {"a.gpl", "z.gpl"}) {
        QFile f(m_busy + name);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(logLines(2016, 1, 3)) > 0);
        QVERIFY(f.resize(name == "a.gpl" ? 1LL << 28 : 1LL << 36));
    }
    QSettings("Veltrona", "KV-730").clear();
    m_answers.reset(new DialogAnswerer);
    m_opened = false;
}

void TestJourneys::cleanup()
{
    m_w.reset();
    m_drives.clear();
    QDir(DeviceKV310::backupRoot()).removeRecursively();
    // Every message of every journey says what it is about.
    QVERIFY2(!m_answers->titles.contains(QString()), qPrintable(m_answers->boxes.join('\n')));
}

void TestJourneys::journey_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("a day out") << "start early download filter save reopen miles exit restart";
    QTest::newRow("busy during a download") << "start plug:busy hold open save filter unplug exit";
    QTest::newRow("exit during a download") << "start plug:busy hold exit";
    QTest::newRow("exit during playback") << "start plug:logger download play exit";
    QTest::newRow("a drop on the map") << "start drop";
    QTest::newRow("save with nothing ticked") << "start open none";
    QTest::newRow("nothing chosen to download") << "start open plug:logger nothing";
    QTest::newRow("a file gone") << "start plug:logger gone";
    QTest::newRow("a time-out") << "start plug:busy timeout";
    QTest::newRow("logger settings and deletion") << "start plug:logger settings delete";
}

void TestJourneys::journey()
{
    QFETCH(QString, steps);
    m_steps = steps.split(' ');
    while (!m_steps.isEmpty() && !QTest::currentTestFailed())
        step(m_steps.takeFirst());
}

// Each step does what a user does and checks what a user can see.
void TestJourneys::step(const QString& name)
{
    if (name == "start" || name == "restart") {
        m_w.reset(); // the previous window goes first, as at the end of the program
        m_w.reset(new MainWindow);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.data()));
        if (name == "restart") // what the last session chose
            QVERIFY(m_w->action("milesAct")->isChecked() &&
                    m_w->lastDirectory() == QDir(m_out).absolutePath());
    } else if (name == "early" || name.startsWith("plug:")) {
        // "early": mounted after the window looked at the drives, before the watcher started.
        const QString drive = name == "early" ? m_logger : m_tmp.filePath(name.mid(5) + "/");
        if (name != "early") // the watcher runs before the logger comes
            QVERIFY(QMetaObject::invokeMethod(m_w.data(), "your_slot_function"));
        m_drives << drive;
        QVERIFY(QMetaObject::invokeMethod(m_w.data(), "your_slot_function")); // if not running
        pollDrives();
        QCOMPARE(m_w->deviceComboBox()->currentText(), drive);
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else if (name == "download" || name == "nothing") {
        const QByteArray before = tkx(m_w->tracks());
        select(name == "download");
        trigger("downloadAct");
        QTRY_VERIFY(!m_w->isDownloadRunning() && m_w->deviceGroup()->isEnabled());
        if (name == "nothing") {
            QCOMPARE(tkx(m_w->tracks()), before);
            return;
        }
        // The file without a dated line starts with its first point; the one without
        // points adds no track.
        QCOMPARE(trackRoot()->childCount(), 2);
        const auto start = [](int year, int minute) {
            return QDateTime(QDate(year, 5, 6), QTime(10, minute, 10), Qt::UTC).toSecsSinceEpoch();
        };
        QCOMPARE(m_w->tracks().at(0).startTime, start(2016, 1));
        QCOMPARE(m_w->tracks().at(1).startTime, start(2015, 2));
        QCOMPARE(m_w->tracks().at(1).points.size(), 2);
        QCOMPARE(m_w->tracks().at(0).points.at(0).marked, 1);
    } else if (name == "hold") {
        // The following steps happen while the download goes on, its dialog closed.
        const QStringList during = m_steps;
        m_steps.clear();
        select(true);
        m_answers->expect<QProgressDialog>([this, during](QProgressDialog* progress) {
            QTest::keyClick(progress, Qt::Key_Escape);
            QVERIFY(!progress->isVisible() && m_w->isDownloadRunning());
            for (const QString& s : during) {
                if (m_w && !QTest::currentTestFailed())
                    step(s);
            }
        });
        trigger("downloadAct");
    } else if (name == "open") {
        chooseFile(m_archive);
        trigger("openAct");
        QCOMPARE(tkx(m_w->tracks()), readFile(m_archive));
        m_opened = true;
        if (m_w->isDownloadRunning()) // a read that ends now must not touch what is shown
            QTRY_COMPARE_WITH_TIMEOUT(m_w->downloadRun()->tracks().size(), 1, 30000);
    } else if (name == "save") {
        trackRoot()->setCheckState(0, Qt::Checked);
        const QByteArray expected = m_opened ? readFile(m_archive) : tkx(m_w->tracks());
        int points = 0;
        for (const Track& t : m_w->tracks())
            points += t.points.size();
        for (const QString format : {"TKX", "GPX", "KML", "CSV"}) {
            chooseFile(m_out + "trip", format + " File (*." + format.toLower() + ")");
            trigger("saveAct");
        }
        QCOMPARE(readFile(m_out + "trip.tkx"), expected);
        QCOMPARE(readFile(m_out + "trip.gpx").count("<trkpt"), points);
        QVERIFY(readFile(m_out + "trip.kml").count("<Placemark") == m_w->tracks().size() &&
                readFile(m_out + "trip.csv").count('\n') > points);
    } else if (name == "reopen") {
        chooseFile(m_out + "trip.tkx");
        trigger("openAct");
        QCOMPARE(tkx(m_w->tracks()), readFile(m_out + "trip.tkx"));
    } else if (name == "filter" || name == "play") {
        QTreeWidgetItem* item = trackRoot()->child(0);
        item->treeWidget()->setCurrentItem(item);
        m_w->mapWidget()->TreeWidgetItemDoubleClicked(item, 0);
        if (name == "play") {
            QSignalSpy shown(m_w->mapWidget(), &MapWidget::pointShown);
            m_w->action("playAct")->trigger();
            QCOMPARE(m_w->action("playAct")->toolTip(), QStringLiteral("pause"));
            QTRY_VERIFY(shown.count() >= 2); // now inside a pause
            return;
        }
        int faster = 0;
        for (const Vec3& p : m_w->tracks().at(0).points)
            faster += quint32(p.speed) > 1500;
        // Typed at once into the entry; Enter with no usable speed does nothing.
        m_answers->expect<FilterDialog>([](FilterDialog* dialog) {
            QTest::keyClicks(dialog->focusWidget(), "abc");
            QTest::keyClick(dialog, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            QTest::keyClicks(dialog->focusWidget(), "\b\b\b15");
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        trigger("filterAct");
        QCOMPARE(m_w->mapWidget()->listedPoints().size(), faster);
    } else if (name == "unplug") {
        m_answers->expectBox();
        m_drives.clear();
        pollDrives();
        QTRY_VERIFY(m_answers->done());
        QVERIFY(!m_w->deviceGroup()->isEnabled() && m_w->deviceComboBox()->count() == 0);
        // What was read replaces what was shown; the message names the file and the reason.
        QCOMPARE(m_answers->boxes.last(),
                 failure("Failed connect device.", m_busy + "z.gpl", "the logger was removed", 0));
        QVERIFY(m_w->tracks().size() == 1 && m_w->tracks().at(0).points.size() == 3);
    } else if (name == "gone" || name == "timeout") {
        m_w->device()->setReadTimeLimit(name == "timeout" ? 1 : 60000);
        select(true, [this] { QFile::remove(m_logger + "b.GPL"); });
        m_answers->expectBox();
        trigger("downloadAct");
        QCOMPARE(m_answers->boxes.join('|'),
                 name == "gone" ? failure("Failed connect device.", m_logger + "b.GPL",
                                          "the file could not be read (no such file)", 1)
                                : failure("Read device data timeout.", m_busy + "a.gpl",
                                          "the logger did not answer within 1 second(s)", 1));
        QVERIFY(m_answers->icons.last() == QMessageBox::Warning && m_w->deviceGroup()->isEnabled());
        QVERIFY(!m_w->findChild<QProgressDialog*>()->isVisible());
        QCOMPARE(m_w->tracks().size(), name == "gone" ? 1 : 0); // a.gpl; no empty tracks
    } else if (name == "exit") {
        m_w->action("feetAct")->trigger();
        QElapsedTimer clock;
        clock.start();
        m_w->action("exitAct")->trigger();
        QVERIFY(!m_w->isVisible() && !m_w->mapWidget()->isPlaying() && !m_w->isDownloadRunning());
        const QString dir = m_w->lastDirectory();
        const bool miles = m_w->speedUnit() == 1;
        m_w.reset();
        // No thread holds the end of the program (the rest is writing the settings file).
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QSettings settings("Veltrona", "KV-730");
        QVERIFY(settings.contains("geometry") && settings.value("heightUnit").toInt() == 1);
        QCOMPARE(settings.value("speedUnit").toInt(), int(miles));
        QCOMPARE(settings.value("directory").toString(), dir);
    } else if (name == "miles") {
        m_w->action("milesAct")->trigger();
    } else if (name == "drop") {
        // Dragged onto the middle of the map and dropped there, as the window system delivers
        // it: to the window, which finds the widget under the pointer that takes drops.
        auto* view = m_w->mapWidget()->findChild<QWebView*>("webView");
        const QPoint at = view->mapTo(m_w.data(), view->rect().center());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(m_archive)});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_w->windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_w->windowHandle(), &dropped);
        QTRY_COMPARE(tkx(m_w->tracks()), readFile(m_archive));
        QCOMPARE(m_w->lastDirectory(), QFileInfo(m_archive).absolutePath());
        QTest::qWait(100);
        QCOMPARE(view->page()->mainFrame()->url(), GoogleMapPage::pageUrl());
    } else if (name == "none") {
        // Nothing is ticked after an open: no file is asked for and nothing is written.
        QVERIFY(writeFile(m_out + "old.gpx", "old contents"));
        QString asked;
        m_answers->expect<QDialog>([&asked](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            asked = box ? box->text() : dialog->metaObject()->className();
            dialog->reject();
        });
        trigger("saveAct");
        QCOMPARE(asked, QString("No track is ticked. Tick the tracks to save in the track list."));
        QCOMPARE(readFile(m_out + "old.gpx"), QByteArray("old contents"));
    } else if (name == "settings") {
        m_answers->expect<DeviceSettingDialog>([](DeviceSettingDialog* dialog) {
            dialog->findChild<QComboBox*>("intervalBox")->setCurrentIndex(2);
            dialog->findChild<QPushButton*>("applyButton")->click();
        });
        m_answers->expectBox();
        trigger("deviceSettingAct");
        QCOMPARE(m_answers->boxes, QStringList{"Set device configuration ok."});
        QVERIFY(readFile(m_logger + "kv730.ini").contains("\nGPS interval = 3\n"));
    } else if (name == "delete") {
        // Asked with a warning, No unless chosen; done on the worker with the progress shown.
        bool warned = false;
        m_answers->expect<QMessageBox>([&warned](QMessageBox* box) {
            warned = box->icon() == QMessageBox::Warning &&
                     box->defaultButton() == box->button(QMessageBox::No);
            box->button(QMessageBox::Yes)->click();
        });
        m_w->action("deleteAct")->trigger();
        QVERIFY(m_answers->done() && warned);
        QVERIFY(m_w->findChild<QProgressDialog*>()->isVisible());
        QVERIFY(!m_w->deviceGroup()->isEnabled());
        m_answers->expectBox();
        QTRY_VERIFY(m_answers->done());
        const QString backup = m_w->device()->lastBackupFolder();
        QCOMPARE(m_answers->boxes.last(), "Delete all track files ok.\nThe track files were "
                                          "copied to " +
                                              QDir::toNativeSeparators(backup) + ".");
        QCOMPARE(QDir(m_logger).entryList(QDir::Files), QStringList{"kv730.ini"});
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else {
        QFAIL(qPrintable("unknown step " + name));
    }
}

void TestJourneys::settingsFilesAtConstruction_data()
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
void TestJourneys::settingsFilesAtConstruction()
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

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
