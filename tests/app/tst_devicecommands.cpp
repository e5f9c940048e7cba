#include "app/mainwindow.h"
#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/trackfileheaderdialog.h"
#include "dialoganswerer.h"
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

// Ticks every file (or none) and applies.
static void expectSelection(DialogAnswerer& answers, bool tickAll,
                            const std::function<void()>& before = {})
{
    answers.expect<TrackFileHeaderDialog>([tickAll, before](TrackFileHeaderDialog* dialog) {
        if (before)
            before();
        if (tickAll)
            dialog->rootItem()->setCheckState(0, Qt::Checked);
        dialog->Apply();
    });
}

// `count` marked points one second apart from 10:0<minute>:10 on 6 May 2016.
static QByteArray logLines(int count, int minute)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "1,2016:05:06-10:0" + QByteArray::number(minute) + ':' +
                QByteArray::number(10 + i) + ",@GPS,2502." + QByteArray::number(1000 + i) +
                ",N,12130.5678,E,35.2,12.34,0,0\r\n";
    return text;
}

class TestDeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void downloadSettingsDelete();
    void runEndsOnFailure_data();
    void runEndsOnFailure();

private:
    QString m_drive;
    QScopedPointer<QTemporaryDir> m_logger;
};

void TestDeviceCommands::init()
{
    m_logger.reset(new QTemporaryDir);
    m_drive = m_logger->path() + "/";
    QVERIFY(writeFile(m_drive + "kv730.ini", "Data Logger = Position:G-Sensor\n"));
    QVERIFY(writeFile(m_drive + "a.gpl", logLines(3, 1)));
    QVERIFY(writeFile(m_drive + "b.gpl", logLines(4, 2)));
    QVERIFY(writeFile(m_drive + "c.GPL", logLines(5, 3)));
}

void TestDeviceCommands::downloadSettingsDelete()
{
    MainWindow w;
    QTemporaryDir stick;
    w.slotDeviceAdded(stick.path() + "/"); // no kv730.ini: not a logger
    QVERIFY(!w.deviceGroup()->isEnabled());
    w.slotDeviceAdded(m_drive);
    w.slotDeviceAdded(m_drive);
    QCOMPARE(w.deviceComboBox()->count(), 1);
    QCOMPARE(w.deviceComboBox()->currentText(), m_drive);
    QVERIFY(w.deviceGroup()->isEnabled());

    // "Apply" with nothing ticked leaves the collection as it was.
    w.tracks() = {Track()};
    DialogAnswerer answers;
    expectSelection(answers, false);
    w.action("downloadAct")->trigger();
    QTRY_VERIFY(answers.done());
    QVERIFY(!w.isDownloadRunning());
    QCOMPARE(w.tracks().size(), 1);

    expectSelection(answers, true);
    w.action("downloadAct")->trigger();
    QTRY_VERIFY(answers.done());
    QTRY_VERIFY(!w.isDownloadRunning());
    QCOMPARE(w.tracks().size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.tracks().at(i).points.size(), 3 + i);
    QCOMPARE(w.tracks().at(2).startTime,
             QDateTime(QDate(2016, 5, 6), QTime(10, 3, 10), Qt::UTC).toSecsSinceEpoch());
    QVERIFY(qAbs(w.tracks().at(2).points.at(4).lat - (25 + 2.1004 / 60.0)) < 1e-5);
    QCOMPARE(w.tracks().at(2).points.at(0).marked, 1); // the first point keeps its own flag
    QVERIFY(w.deviceGroup()->isEnabled());

    answers.expect<DeviceSettingDialog>([](DeviceSettingDialog* dialog) {
        dialog->findChild<QComboBox*>("intervalBox")->setCurrentIndex(2);
        dialog->findChild<QCheckBox*>("bluetoothBox")->setChecked(true);
        dialog->findChild<QPushButton*>("applyButton")->click();
    });
    answers.expectBox();
    w.action("deviceSettingAct")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.boxes, QStringList{"Set device configuration ok."});
    QCOMPARE(readFile(m_drive + "kv730.ini"),
             QByteArray("Data Logger = Position\nGPS interval = 3\nPower Saving Mode = Enable\n"
                        "Bluetooth Status = Enable\nHeight Limit = Enable\nTest Mode = Disable\n"));

    answers.expectBox(QMessageBox::Yes);
    answers.expectBox();
    w.action("deleteAct")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.boxes.last(), QStringLiteral("Delete all track files ok."));
    QCOMPARE(answers.icons.last(), QMessageBox::Information);
    QCOMPARE(QDir(m_drive).entryList(QDir::Files), QStringList{"kv730.ini"});
    const QString backup = w.device()->lastBackupFolder();
    QVERIFY(backup.startsWith(DeviceKV310::backupRoot()));
    QVERIFY(answers.boxes.at(1).contains(QDir::toNativeSeparators(backup)));
    QCOMPARE(QDir(backup).entryList(QDir::Files).size(), 3);
    QCOMPARE(readFile(backup + "/c.GPL"), logLines(5, 3));
    QVERIFY(QDir(backup).removeRecursively());

    w.slotDeviceRemoved(m_drive);
    QCOMPARE(w.deviceComboBox()->count(), 0);
    QVERIFY(!w.deviceGroup()->isEnabled());
}

void TestDeviceCommands::runEndsOnFailure_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("file gone") << "file gone" << QString("Failed connect device.");
    QTest::newRow("timeout") << "timeout" << QString("Read device data timeout.");
    QTest::newRow("logger pulled out") << "pulled out" << QString("Failed connect device.");
}

// The run ends with one warning; what was read stays and nothing hangs.
void TestDeviceCommands::runEndsOnFailure()
{
    QFETCH(QString, failure);
    // Big enough that a read is still going when the test steps in.
    QVERIFY(writeFile(m_drive + "a.gpl", logLines(3, 1).repeated(100000)));
    MainWindow w;
    w.slotDeviceAdded(m_drive);
    DialogAnswerer answers;
    if (failure == "timeout")
        w.device()->setReadTimeLimit(1);
    expectSelection(answers, true, [&] {
        if (failure == "file gone")
            QFile::remove(m_drive + "b.gpl");
    });
    if (failure == "pulled out")
        answers.expect<QProgressDialog>([&](QProgressDialog*) { w.slotDeviceRemoved(m_drive); });
    answers.expectBox();
    w.action("downloadAct")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(answers.done(), 20000);
    QTEST(answers.boxes.join(""), "message");
    QCOMPARE(answers.icons.last(), QMessageBox::Warning);
    QVERIFY(!w.isDownloadRunning());
    QVERIFY(!w.findChild<QProgressDialog*>()->isVisible());
    QCOMPARE(w.tracks().size(), 3);
    QVERIFY(w.tracks().at(2).points.isEmpty());
    if (failure == "file gone")
        QVERIFY(!w.tracks().at(0).points.isEmpty());
    QCOMPARE(w.deviceGroup()->isEnabled(), failure != "pulled out");
    // A late report of the ended run changes nothing.
    QVERIFY(w.device()->wait(10000));
    QCoreApplication::processEvents();
    QCOMPARE(answers.boxes.size(), 1);
}

QTEST_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
