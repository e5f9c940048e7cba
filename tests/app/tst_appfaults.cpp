#include "../tmpfsmount.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The main window against a full drive and against settings files full of garbage.
namespace
{

// Closes the next message box and keeps its text.
void catchMessageBox(QString* text)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            *text = box->text();
            box->done(0);
        }
    });
    timer->start();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

} // namespace

class TestAppFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void saveOntoFullDrive();
    void garbageSettings_data();
    void garbageSettings();

private:
    QTemporaryDir m_dir;
    QString m_userSettings;
};

void TestAppFaults::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*=false"));
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("config"));
    m_userSettings = QSettings(QStringLiteral("Veltrona"), QStringLiteral("KV-730")).fileName();
    QVERIFY(m_userSettings.startsWith(m_dir.path()));
    QVERIFY(QDir::setCurrent(m_dir.path())); // for ./Setting.ini
}

void TestAppFaults::saveOntoFullDrive()
{
    TmpfsMount drive(m_dir.filePath("drive"), 64);
    if (!drive.isMounted())
        QSKIP(qPrintable(drive.reason()));
    const QString name = drive.path() + "/trip.gpx";
    QVERIFY(writeFile(name, "old contents"));
    Track track;
    track.fmt = 2;
    track.startTime = 1462530030;
    for (int i = 0; i < 5000; ++i) {
        Vec3 p;
        p.lat = 25 + i * 1e-4;
        p.lon = 121;
        p.time = track.startTime + i;
        track.points << p;
    }
    MainWindow w;
    w.tracks() = {track};
    QString message;
    catchMessageBox(&message);
    QVERIFY(!w.saveFile(name, QStringLiteral("GPX File (*.gpx)"), {0}, false));
    QVERIFY2(message.contains(name) && message.contains("No space left"), qPrintable(message));
    QCOMPARE(readFile(name), QByteArray("old contents"));
    QCOMPARE(QDir(drive.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"trip.gpx"});
}

void TestAppFaults::garbageSettings_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("setting");
    for (quint32 seed = 1; seed <= 4; ++seed)
        QTest::addRow("random %u", seed)
            << randomBytes(int(seed) * 900, seed) << randomBytes(int(seed) * 300, seed + 100);
    QTest::newRow("wrong types")
        << QByteArray("[General]\ngeometry=@ByteArray(\x01\x02garbage)\ndirectory=@Variant("
                      "\\0\\0\\0\\x7f)\n"
                      "speedUnit=@Rect(1 2 3 4)\nheightUnit=x\ntimeSwitch=99999999999999999999\n")
        << QByteArray("[General]\nGPS_filter=@Point(1 2)\n");
}

// The window starts with sane choices whatever the two settings files hold.
void TestAppFaults::garbageSettings()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, setting);
    QVERIFY(writeFile(m_userSettings, user));
    QVERIFY(writeFile(m_dir.filePath("Setting.ini"), setting));
    {
        MainWindow w;
        QVERIFY(w.speedUnit() == 0 || w.speedUnit() == 1);
        QVERIFY(w.heightUnit() == 0 || w.heightUnit() == 1);
        QVERIFY(w.timeSwitch() == 0 || w.timeSwitch() == 1);
        w.close(); // writes the per-user settings back
    }
    QSettings written(QStringLiteral("Veltrona"), QStringLiteral("KV-730"));
    QCOMPARE(written.status(), QSettings::NoError);
}

QTEST_MAIN(TestAppFaults)
#include "tst_appfaults.moc"
