#include "app/downloadrun.h"
#include "app/mainwindow.h"
#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/drivewatcher.h"
#include "device/drivewatcherprivate.h"
#include "device/trackfileheaderdialog.h"
#include "dialoganswerer.h"
#include "formats/fileformattkr.h"
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
        text += QString("1,%1:05:06-10:%2:%3,%4,2502.%5,N,12130.5678,E,35.2,%6.00,0,0\r\n")
                    .arg(year)
                    .arg(minute, 2, 10, QChar('0'))
                    .arg(10 + i)
                    .arg(i == 0 ? "@GPS" : "*GPS")
                    .arg(1000 + i)
                    .arg(10 * (i + 1))
                    .toLatin1();
    return text;
}

static qint64 utc(int year, int minute)
{
    return QDateTime(QDate(year, 5, 6), QTime(10, minute, 10), Qt::UTC).toSecsSinceEpoch();
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

class TestJourneys : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void journey_data();
    void journey();

private:
    void step(const QString& name);
    void pollDrives() { m_w->driveWatcher()->privateObject()->parseDeviceInfo(); }
    void startWatcher()
    {
        if (!m_w->driveWatcher()->isRunning())
            QVERIFY(QMetaObject::invokeMethod(m_w.data(), "your_slot_function"));
    }
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
    void trigger(const char* action)
    {
        m_w->action(action)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(m_answers->done(), 20000);
    }
    QTreeWidgetItem* trackRoot()
    {
        return m_w->mapWidget()->findChild<QTreeWidget*>("treeWidget")->topLevelItem(0);
    }
    void listFirstTrack()
    {
        QTreeWidgetItem* item = trackRoot()->child(0);
        item->treeWidget()->setCurrentItem(item);
        m_w->mapWidget()->TreeWidgetItemDoubleClicked(item, 0);
    }
    void drop(const QString& file);

    QTemporaryDir m_tmp;
    QString m_logger, m_busy, m_archive, m_out;
    QStringList m_drives;
    QScopedPointer<MainWindow> m_w;
    QScopedPointer<DialogAnswerer> m_answers;
    QStringList m_steps;
    bool m_opened = false; // the collection is the archive, as opened
    int m_exitLimitMs = 2000;
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
    for (const char* dir : {"logger", "busy", "out"})
        QVERIFY(QDir(m_tmp.filePath(dir)).removeRecursively() &&
                QDir().mkpath(m_tmp.filePath(dir)));
    m_logger = m_tmp.filePath("logger/"), m_busy = m_tmp.filePath("busy/");
    m_out = m_tmp.filePath("out/");
    for (const QString& drive : {m_logger, m_busy})
        QVERIFY(writeFile(drive + "kv730.ini", "Data Logger = Position:G-Sensor\n"));
    QVERIFY(writeFile(m_logger + "a.gpl", logLines(2016, 1, 3)));
    QVERIFY(writeFile(m_logger + "b.GPL", logLines(2015, 2, 2))); // no date the header takes
    QVERIFY(writeFile(m_logger + "c.gpl", "no usable line\r\n"));
    // Points, then zeros that take the worker seconds to read (a.gpl) or for ever (z.gpl).
    for (const auto& file :
         {qMakePair(QString("a.gpl"), 1LL << 29), qMakePair(QString("z.gpl"), 64LL << 30)}) {
        QFile f(m_busy + file.first);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(logLines(2016, 1, 3)) > 0);
        QVERIFY(f.resize(file.second));
    }
    QSettings("Veltrona", "KV-730").clear();
    m_answers.reset(new DialogAnswerer);
    m_opened = false;
    m_exitLimitMs = 2000;
}

void TestJourneys::cleanup()
{
    m_w.reset();
    m_drives.clear();
    QDir(DeviceKV310::backupRoot()).removeRecursively();
}

void TestJourneys::journey_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("a day out") << "start early download filter save reopen miles exit restart";
    QTest::newRow("busy during a download") << "start plug:busy hold open save filter unplug exit";
    QTest::newRow("exit during a download") << "start plug:busy hold exit";
    QTest::newRow("exit during playback") << "start plug:logger download play exit";
    QTest::newRow("drops on the map") << "start drop drop-other";
    QTest::newRow("save with nothing ticked") << "start open none";
    QTest::newRow("nothing chosen to download") << "start open plug:logger nothing";
    QTest::newRow("a file gone") << "start plug:logger gone";
    QTest::newRow("a time-out") << "start plug:busy timeout";
    QTest::newRow("logger settings and deletion") << "start plug:logger settings delete";
}

// Each step does what the user would and checks what the user can see.
void TestJourneys::journey()
{
    QFETCH(QString, steps);
    m_steps = steps.split(' ');
    while (!m_steps.isEmpty() && !QTest::currentTestFailed())
        step(m_steps.takeFirst());
}

void TestJourneys::step(const QString& name)
{
    const QString drive = name.startsWith("plug:") ? m_tmp.filePath(name.mid(5) + "/") : QString();
    if (name == "start" || name == "restart") {
        m_w.reset(); // the previous window (if any) is gone, as after the end of the program
        m_w.reset(new MainWindow);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.data()));
        if (name == "restart") { // what the last session chose
            QVERIFY(m_w->action("milesAct")->isChecked());
            QCOMPARE(m_w->lastDirectory(), QDir(m_out).absolutePath());
        }
    } else if (name == "early") {
        // A logger mounted after the window looked at the drives, before the watcher started.
        m_drives << m_logger;
        startWatcher();
        QCOMPARE(m_w->deviceComboBox()->currentText(), m_logger);
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else if (!drive.isEmpty()) {
        startWatcher();
        m_drives << drive;
        pollDrives();
        QCOMPARE(m_w->deviceComboBox()->currentText(), drive);
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else if (name == "download" || name == "nothing") {
        const QByteArray before = tkx(m_w->tracks());
        m_answers->expect<TrackFileHeaderDialog>([name](TrackFileHeaderDialog* dialog) {
            if (name == "download")
                dialog->rootItem()->setCheckState(0, Qt::Checked);
            dialog->Apply();
        });
        trigger("downloadAct");
        QTRY_VERIFY(!m_w->isDownloadRunning());
        QVERIFY(m_w->deviceGroup()->isEnabled());
        if (name == "nothing") {
            QCOMPARE(tkx(m_w->tracks()), before);
            return;
        }
        // The file without a dated line starts with its first point; the one without
        // points adds no track.
        QCOMPARE(m_w->tracks().size(), 2);
        QCOMPARE(trackRoot()->childCount(), 2);
        QCOMPARE(m_w->tracks().at(0).startTime, utc(2016, 1));
        QCOMPARE(m_w->tracks().at(1).startTime, utc(2015, 2));
        QCOMPARE(m_w->tracks().at(1).points.size(), 2);
        QCOMPARE(m_w->tracks().at(0).points.at(0).marked, 1);
    } else if (name == "hold") {
        // The following steps happen while the download goes on, its dialog closed.
        const QStringList during = m_steps;
        m_steps.clear();
        m_answers->expect<TrackFileHeaderDialog>([](TrackFileHeaderDialog* dialog) {
            dialog->rootItem()->setCheckState(0, Qt::Checked);
            dialog->Apply();
        });
        m_answers->expect<QProgressDialog>([this, during](QProgressDialog* progress) {
            QTest::keyClick(progress, Qt::Key_Escape);
            QVERIFY(!progress->isVisible() && m_w->isDownloadRunning());
            for (const QString& s : during) {
                if (m_w)
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
        QCOMPARE(readFile(m_out + "trip.kml").count("<Placemark"), m_w->tracks().size());
        QVERIFY(readFile(m_out + "trip.csv").count('\n') > points);
    } else if (name == "reopen") {
        chooseFile(m_out + "trip.tkx");
        trigger("openAct");
        QCOMPARE(tkx(m_w->tracks()), readFile(m_out + "trip.tkx"));
    } else if (name == "filter") {
        listFirstTrack();
        int faster = 0;
        for (const Vec3& p : m_w->tracks().at(0).points)
            faster += quint32(p.speed) > 1500;
        // Typed at once into the entry; Enter with no usable speed does nothing.
        m_answers->expect<FilterDialog>([](FilterDialog* dialog) {
            QTest::keyClicks(dialog->focusWidget(), "abc");
            QTest::keyClick(dialog, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            dialog->findChild<QLineEdit*>("lineEdit")->clear();
            QTest::keyClicks(dialog->focusWidget(), "15");
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        trigger("filterAct");
        QCOMPARE(m_w->mapWidget()->listedPoints().size(), faster);
    } else if (name == "unplug") {
        const bool running = m_w->isDownloadRunning();
        if (running)
            m_answers->expectBox();
        m_drives.removeAll(m_w->deviceComboBox()->currentText());
        pollDrives();
        QTRY_VERIFY(m_answers->done());
        QCOMPARE(m_w->deviceComboBox()->count(), 0);
        QVERIFY(!m_w->deviceGroup()->isEnabled());
        if (!running)
            return;
        // What was read replaces what was shown; the message names the file and the reason.
        QCOMPARE(m_answers->boxes.last(),
                 "Failed connect device.\nThe track file " + QDir::toNativeSeparators(m_busy) +
                     "z.gpl could not be downloaded: the logger was removed.");
        QCOMPARE(m_w->tracks().size(), 1);
        QCOMPARE(m_w->tracks().at(0).points.size(), 3);
    } else if (name == "gone" || name == "timeout") {
        m_w->device()->setReadTimeLimit(name == "timeout" ? 1 : 60000);
        m_answers->expect<TrackFileHeaderDialog>([this](TrackFileHeaderDialog* dialog) {
            QFile::remove(m_logger + "b.GPL");
            dialog->rootItem()->setCheckState(0, Qt::Checked);
            dialog->Apply();
        });
        m_answers->expectBox();
        trigger("downloadAct");
        const QString message =
            name == "gone"
                ? "Failed connect device.\nThe track file " + QDir::toNativeSeparators(m_logger) +
                      "b.GPL could not be downloaded: the file could not be read (no such file).\n"
                      "1 further track file(s) were not downloaded."
                : "Read device data timeout.\nThe track file " + QDir::toNativeSeparators(m_busy) +
                      "a.gpl could not be downloaded: the logger did not answer within 1 second(s)."
                      "\n1 further track file(s) were not downloaded.";
        QCOMPARE(m_answers->boxes.join('|'), message);
        QCOMPARE(m_answers->icons.last(), QMessageBox::Warning);
        QVERIFY(!m_w->findChild<QProgressDialog*>()->isVisible());
        QVERIFY(m_w->deviceGroup()->isEnabled());
        QCOMPARE(m_w->tracks().size(), name == "gone" ? 1 : 0); // a.gpl; no empty tracks
    } else if (name == "play") {
        listFirstTrack();
        QSignalSpy shown(m_w->mapWidget(), &MapWidget::pointShown);
        m_w->action("playAct")->trigger();
        QVERIFY(m_w->isPlaying() && m_w->action("stopAct")->isEnabled());
        QCOMPARE(m_w->action("playAct")->toolTip(), QStringLiteral("pause"));
        QTRY_VERIFY(shown.count() >= 2); // now inside a pause of 750 ms
        m_exitLimitMs = 300;
    } else if (name == "exit") {
        m_w->action("feetAct")->trigger();
        QElapsedTimer clock;
        clock.start();
        m_w->action("exitAct")->trigger();
        QVERIFY(!m_w->isVisible());
        const QString dir = m_w->lastDirectory();
        const bool miles = m_w->speedUnit() == 1;
        m_w.reset();
        QVERIFY2(clock.elapsed() < m_exitLimitMs, qPrintable(QString::number(clock.elapsed())));
        QSettings settings("Veltrona", "KV-730");
        QVERIFY(settings.contains("geometry"));
        QCOMPARE(settings.value("heightUnit").toInt(), 1);
        QCOMPARE(settings.value("speedUnit").toInt(), int(miles));
        QCOMPARE(settings.value("directory").toString(), dir);
        QVERIFY(m_answers->done());
    } else if (name == "miles") {
        m_w->action("milesAct")->trigger();
    } else if (name == "drop" || name == "drop-other") {
        const QString file = name == "drop" ? m_archive : m_logger + "kv730.ini";
        if (name == "drop-other")
            m_answers->expectBox();
        const QByteArray before = tkx(m_w->tracks());
        drop(file);
        QTRY_VERIFY(m_answers->done());
        QTRY_COMPARE(tkx(m_w->tracks()), name == "drop" ? readFile(m_archive) : before);
        QCOMPARE(m_w->lastDirectory(), QFileInfo(file).absolutePath());
        QWebFrame* page = m_w->mapWidget()->mapPage()->mainFrame();
        QTest::qWait(100);
        QCOMPARE(page->url(), GoogleMapPage::pageUrl());
        QTRY_COMPARE(page->evaluateJavaScript("connected").toBool(), true);
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
        QCOMPARE(asked,
                 QStringLiteral("No track is ticked. Tick the tracks to save in the track list."));
        m_answers->expectBox();
        QVERIFY(!m_w->saveFile(m_out + "old.gpx", "GPX File (*.gpx)", {}, false));
        QTRY_VERIFY(m_answers->done());
        QCOMPARE(readFile(m_out + "old.gpx"), QByteArray("old contents"));
    } else if (name == "settings") {
        m_answers->expect<DeviceSettingDialog>([](DeviceSettingDialog* dialog) {
            dialog->findChild<QComboBox*>("intervalBox")->setCurrentIndex(2);
            dialog->findChild<QCheckBox*>("bluetoothBox")->setChecked(true);
            dialog->findChild<QPushButton*>("applyButton")->click();
        });
        m_answers->expectBox();
        trigger("deviceSettingAct");
        QCOMPARE(m_answers->boxes, QStringList{"Set device configuration ok."});
        QCOMPARE(
            readFile(m_logger + "kv730.ini"),
            QByteArray("Data Logger = Position\nGPS interval = 3\nPower Saving Mode = Enable\n"
                       "Bluetooth Status = Enable\nHeight Limit = Enable\nTest Mode = Disable\n"));
    } else if (name == "delete") {
        // Asked with a warning, No unless chosen; done on the worker with the progress shown.
        m_answers->expect<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            box->button(QMessageBox::Yes)->click();
        });
        m_w->action("deleteAct")->trigger();
        QVERIFY(m_answers->done());
        QVERIFY(m_w->findChild<QProgressDialog*>()->isVisible());
        QVERIFY(!m_w->deviceGroup()->isEnabled());
        m_answers->expectBox();
        QTRY_VERIFY(m_answers->done());
        const QString backup = m_w->device()->lastBackupFolder();
        QCOMPARE(m_answers->boxes.last(),
                 "Delete all track files ok.\nThe track files were copied to " +
                     QDir::toNativeSeparators(backup) + ".");
        QCOMPARE(QDir(m_logger).entryList(QDir::Files), QStringList{"kv730.ini"});
        QCOMPARE(QDir(backup).entryList(QDir::Files).size(), 3);
        QCOMPARE(readFile(backup + "/a.gpl"), logLines(2016, 1, 3));
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else {
        QFAIL(qPrintable("unknown step " + name));
    }
}

// A file dragged onto the middle of the map and dropped there, as the window system
// delivers it: to the window, which finds the widget under the pointer that takes drops.
void TestJourneys::drop(const QString& file)
{
    auto* view = m_w->mapWidget()->findChild<QWebView*>("webView");
    const QPoint at = view->mapTo(m_w.data(), view->rect().center());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_w->windowHandle(), &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_w->windowHandle(), &dropped);
}

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
