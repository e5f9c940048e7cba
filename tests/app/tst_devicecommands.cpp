#include "app/mainwindow.h"
#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/trackfileheaderdialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace
{

// Answers the modal dialogs of a flow in the order they are expected.
class DialogAnswerer : public QObject
{
public:
    using Handler = std::function<bool(QWidget*)>;

    DialogAnswerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (w && !m_handlers.isEmpty() && m_handlers.first()(w))
                m_handlers.removeFirst();
        });
        m_timer.start(5);
    }
    void expect(const Handler& handler) { m_handlers << handler; }
    bool done() const { return m_handlers.isEmpty(); }

    // A message box: records its text and icon, then presses the button.
    void expectBox(QMessageBox::StandardButton button)
    {
        expect([this, button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box)
                return false;
            boxes << box->text();
            icons << box->icon();
            informative << box->informativeText();
            box->button(button)->click();
            return true;
        });
    }

    // The file selection: ticks the given rows (all when empty) and applies.
    void expectSelection(const QList<int>& rows, const std::function<void()>& before = {})
    {
        expect([rows, before](QWidget* w) {
            auto* dialog = qobject_cast<TrackFileHeaderDialog*>(w);
            if (!dialog)
                return false;
            if (before)
                before();
            if (rows.isEmpty())
                dialog->rootItem()->setCheckState(0, Qt::Checked);
            for (int row : rows)
                dialog->rootItem()->child(row)->setCheckState(0, Qt::Checked);
            dialog->Apply();
            return true;
        });
    }

    QStringList boxes;
    QStringList informative;
    QList<QMessageBox::Icon> icons;

private:
    QTimer m_timer;
    QList<Handler> m_handlers;
};

QByteArray logLines(int count, int minuteOffset)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += QString("1,2016:05:06-10:%1:%2,*GPS,2502.%3,N,12130.5678,E,35.2,12.34,0,0\r\n")
                    .arg(minuteOffset, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'))
                    .arg(1000 + i, 4, 10, QChar('0'))
                    .toLatin1();
    }
    return text;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void deviceList();
    void downloadSettingsDelete();
    void nothingTickedKeepsTracks();
    void runEndsOnFailure_data();
    void runEndsOnFailure();

private:
    QString m_drive;
    QScopedPointer<QTemporaryDir> m_logger;
    QTemporaryDir m_settingsDir;
};

void TestDeviceCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void TestDeviceCommands::init()
{
    m_logger.reset(new QTemporaryDir);
    QVERIFY(m_logger->isValid());
    m_drive = m_logger->path() + "/";
    QVERIFY(
        writeFile(m_drive + "kv730.ini", "Data Logger = Position:G-Sensor\nGPS interval = 1\n"));
    QVERIFY(writeFile(m_drive + "a.gpl", logLines(3, 1)));
    QVERIFY(writeFile(m_drive + "b.gpl", logLines(4, 2)));
    QVERIFY(writeFile(m_drive + "c.GPL", logLines(5, 3)));
}

void TestDeviceCommands::deviceList()
{
    MainWindow w;
    QTemporaryDir stick;
    w.slotDeviceAdded(stick.path() + "/");
    QCOMPARE(w.deviceComboBox()->count(), 0);
    QVERIFY(!w.deviceGroup()->isEnabled());

    w.slotDeviceAdded(m_drive);
    w.slotDeviceAdded(m_drive);
    QCOMPARE(w.deviceComboBox()->count(), 1);
    QCOMPARE(w.deviceComboBox()->currentText(), m_drive);
    QVERIFY(w.deviceGroup()->isEnabled());

    w.slotDeviceRemoved(stick.path() + "/");
    QVERIFY(w.deviceGroup()->isEnabled());
    w.slotDeviceRemoved(m_drive);
    QCOMPARE(w.deviceComboBox()->count(), 0);
    QVERIFY(!w.deviceGroup()->isEnabled());
}

void TestDeviceCommands::downloadSettingsDelete()
{
    MainWindow w;
    w.slotDeviceAdded(m_drive);
    DialogAnswerer answers;

    answers.expectSelection({});
    w.action("downloadAct")->trigger();
    QTRY_VERIFY(answers.done());
    QTRY_VERIFY(!w.isDownloadRunning());
    QCOMPARE(w.tracks().size(), 3);
    QCOMPARE(w.tracks().at(0).points.size(), 3);
    QCOMPARE(w.tracks().at(1).points.size(), 4);
    QCOMPARE(w.tracks().at(2).points.size(), 5);
    QCOMPARE(w.tracks().at(2).startTime,
             QDateTime(QDate(2016, 5, 6), QTime(10, 3, 0), Qt::UTC).toSecsSinceEpoch());
    QCOMPARE(w.tracks().at(2).fmt, 2);
    QVERIFY(qAbs(w.tracks().at(2).points.at(4).lat - (25 + 2.1004 / 60.0)) < 1e-5);
    QVERIFY(w.deviceGroup()->isEnabled());
    QVERIFY(answers.boxes.isEmpty());

    answers.expect([](QWidget* widget) {
        auto* dialog = qobject_cast<DeviceSettingDialog*>(widget);
        if (!dialog)
            return false;
        dialog->findChild<QComboBox*>("intervalBox")->setCurrentIndex(2);
        dialog->findChild<QCheckBox*>("bluetoothBox")->setChecked(true);
        dialog->findChild<QPushButton*>("applyButton")->click();
        return true;
    });
    answers.expectBox(QMessageBox::Ok);
    w.action("deviceSettingAct")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.boxes.last(), QStringLiteral("Set device configuration ok."));
    QCOMPARE(readFile(m_drive + "kv730.ini"),
             QByteArray("Data Logger = Position\nGPS interval = 3\nPower Saving Mode = Enable\n"
                        "Bluetooth Status = Enable\nHeight Limit = Enable\nTest Mode = Disable\n"));

    answers.expectBox(QMessageBox::No);
    w.action("deleteAct")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.boxes.last(), QStringLiteral("Delete device all track points."));
    QCOMPARE(QDir(m_drive).entryList(QDir::Files).size(), 4);

    answers.expectBox(QMessageBox::Yes);
    answers.expectBox(QMessageBox::Ok);
    w.action("deleteAct")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(answers.boxes.last(), QStringLiteral("Delete all track files ok."));
    QCOMPARE(answers.icons.last(), QMessageBox::Information);
    QCOMPARE(QDir(m_drive).entryList(QDir::Files), QStringList{"kv730.ini"});
    const QString backup = w.device()->lastBackupFolder();
    QVERIFY(backup.startsWith(DeviceKV310::backupRoot()));
    QVERIFY(answers.informative.at(answers.informative.size() - 2)
                .contains(QDir::toNativeSeparators(backup)));
    QCOMPARE(readFile(backup + "/c.GPL"), logLines(5, 3));
    QCOMPARE(QDir(backup).entryList(QDir::Files).size(), 3);
    QVERIFY(QDir(backup).removeRecursively());
    QVERIFY(w.deviceGroup()->isEnabled());
}

void TestDeviceCommands::nothingTickedKeepsTracks()
{
    MainWindow w;
    w.slotDeviceAdded(m_drive);
    Track kept;
    kept.points.resize(2);
    w.tracks() = {kept};
    DialogAnswerer answers;
    answers.expect([](QWidget* widget) {
        auto* dialog = qobject_cast<TrackFileHeaderDialog*>(widget);
        if (!dialog)
            return false;
        dialog->Apply();
        return true;
    });
    w.action("downloadAct")->trigger();
    QTRY_VERIFY(answers.done());
    QCOMPARE(w.tracks().size(), 1);
    QCOMPARE(w.tracks().at(0).points.size(), 2);
    QVERIFY(!w.isDownloadRunning());
    QVERIFY(w.deviceGroup()->isEnabled());
}

void TestDeviceCommands::runEndsOnFailure_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("file gone") << "file gone"
                               << "Failed connect device.";
    QTest::newRow("timeout") << "timeout"
                             << "Read device data timeout.";
    QTest::newRow("logger pulled out") << "pulled out"
                                       << "Failed connect device.";
}

void TestDeviceCommands::runEndsOnFailure()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    // Big enough that a read is still going when the test steps in.
    QVERIFY(writeFile(m_drive + "a.gpl", logLines(3, 1).repeated(100000)));
    MainWindow w;
    w.slotDeviceAdded(m_drive);
    DialogAnswerer answers;
    if (failure == "timeout")
        w.device()->setReadTimeLimit(1);
    answers.expectSelection({}, [&] {
        if (failure == "file gone")
            QFile::remove(m_drive + "b.gpl");
    });
    if (failure == "pulled out") {
        answers.expect([&](QWidget* widget) {
            if (!qobject_cast<QProgressDialog*>(widget))
                return false;
            w.slotDeviceRemoved(m_drive);
            return true;
        });
    }
    answers.expectBox(QMessageBox::Ok);
    w.action("downloadAct")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(answers.done(), 20000);
    QCOMPARE(answers.boxes, QStringList{message});
    QCOMPARE(answers.icons.last(), QMessageBox::Warning);
    QVERIFY(!w.isDownloadRunning());
    QVERIFY(!w.findChild<QProgressDialog*>()->isVisible());
    QCOMPARE(w.tracks().size(), 3);
    QVERIFY(w.tracks().at(2).points.isEmpty());
    if (failure == "file gone")
        QVERIFY(!w.tracks().at(0).points.isEmpty());
    QCOMPARE(w.deviceGroup()->isEnabled(), failure != "pulled out");
    // A late report of the ended run changes nothing.
    QTest::qWait(50);
    QCOMPARE(answers.boxes.size(), 1);
}

QTEST_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
