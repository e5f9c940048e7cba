#include "../tmpfsmount.h"
#include "formats/fileformatregistry.h"
#include "formats/textoutput.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Writers facing a drive that fills up, and a name that is no file at all: the save fails
// with a message, the file that was there stays as it was, nothing is left behind.
namespace
{

struct Settings : DisplaySettings {
    int speedUnit() const override { return 0; }
    int heightUnit() const override { return 0; }
    int timeSwitch() const override { return 0; }
};

Track bigTrack()
{
    Track t;
    t.fmt = 2;
    t.startTime = 1462530030;
    for (int i = 0; i < 20000; ++i) {
        Vec3 p;
        p.lat = 25 + i * 1e-5;
        p.lon = 121 + i * 1e-5;
        p.alt = 10;
        p.time = t.startTime + i;
        p.speed = 100;
        t.points << p;
    }
    return t;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

} // namespace

class TestWriteFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fullDrive_data();
    void fullDrive();
    void vanishedFolder_data() { fullDrive_data(); }
    void vanishedFolder();
    void notAFile_data();
    void notAFile();
    void bufferedOutputToFullDevice();
    void openPipe_data();
    void openPipe();

private:
    QTemporaryDir m_dir;
    Settings m_settings;
    FileFormatRegistry m_registry;
};

void TestWriteFaults::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*=false"));
    QVERIFY(m_dir.isValid());
    m_registry.addStandardFormats(&m_settings);
}

void TestWriteFaults::fullDrive_data()
{
    QTest::addColumn<QString>("extension");
    for (const char* ext : {".tkx", ".csv", ".gpx", ".kml"})
        QTest::addRow("%s", ext) << QString::fromLatin1(ext);
}

void TestWriteFaults::fullDrive()
{
    QFETCH(QString, extension);
    TmpfsMount drive(m_dir.filePath("drive" + extension), 64);
    if (!drive.isMounted())
        QSKIP(qPrintable(drive.reason()));
    const QString name = drive.path() + "/trip" + extension;
    QVERIFY(writeFile(name, "old contents"));

    QVERIFY(!m_registry.save({bigTrack()}, name, {0}, false)); // some 1 MB onto 64 kB
    QVERIFY2(m_registry.errorString().contains(QLatin1String("No space left")),
             qPrintable(m_registry.errorString()));
    QCOMPARE(readFile(name), QByteArray("old contents"));
    QCOMPARE(entries(drive.path()), QStringList{"trip" + extension});

    // Room again: the same save goes through.
    drive.detach();
    TmpfsMount larger(drive.path(), 8192);
    QVERIFY(larger.isMounted());
    QVERIFY(m_registry.save({bigTrack()}, name, {0}, false));
}

// The folder chosen in the save dialog was removed (or its drive pulled) before the save.
void TestWriteFaults::vanishedFolder()
{
    QFETCH(QString, extension);
    const QString folder = m_dir.filePath("gone" + extension);
    QVERIFY(QDir().mkpath(folder) && QDir(folder).removeRecursively());
    QVERIFY(!m_registry.save({bigTrack()}, folder + "/trip" + extension, {0}, false));
    QVERIFY2(m_registry.errorString().contains(QLatin1String("cannot be written")),
             qPrintable(m_registry.errorString()));
    QVERIFY(!QFileInfo::exists(folder));
}

void TestWriteFaults::notAFile_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("target");
    for (const char* ext : {".tkx", ".csv", ".gpx", ".kml"}) {
        QTest::addRow("%s to /dev/full", ext) << QString::fromLatin1(ext) << "/dev/full";
        QTest::addRow("%s to a pipe", ext) << QString::fromLatin1(ext) << "fifo";
    }
}

// A device or pipe cannot be replaced by a finished file: the writers say so and leave the
// node alone (committing would have put a regular file in its place and reported success).
void TestWriteFaults::notAFile()
{
    QFETCH(QString, extension);
    QFETCH(QString, target);
    QString path = target;
    if (target == "fifo") {
        path = m_dir.filePath("pipe" + extension);
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    }
    struct stat before;
    QVERIFY(::stat(QFile::encodeName(path).constData(), &before) == 0);
    FileFormat* format = m_registry.findFormat(extension);
    QVERIFY(format);
    QVERIFY(!format->save({bigTrack()}, path, {0}, false));
    QVERIFY2(format->errorString().contains(QLatin1String("not a regular file")),
             qPrintable(format->errorString()));
    struct stat after;
    QVERIFY(::stat(QFile::encodeName(path).constData(), &after) == 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_rdev, before.st_rdev);
    QCOMPARE(after.st_ino, before.st_ino);
    if (target == "fifo")
        QVERIFY(QFile::remove(path));
    QCOMPARE(entries(m_dir.path()).filter("pipe"), QStringList());
}

// The buffer behind the text writers reports a device that takes nothing.
void TestWriteFaults::bufferedOutputToFullDevice()
{
    QFile full(QStringLiteral("/dev/full"));
    QVERIFY(full.open(QIODevice::WriteOnly));
    TextOutput out(&full);
    const QByteArray text(100000, 'x');
    for (int i = 0; i < 10; ++i)
        out.append(text);
    QVERIFY(!out.ok());
    QVERIFY(!out.flush());
}

void TestWriteFaults::openPipe_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("log") << "pipe.gpl";
    QTest::newRow("archive") << "pipe.tkx";
}

// Opening a pipe named like a track file is refused at once (a reader would wait on it).
void TestWriteFaults::openPipe()
{
    QFETCH(QString, name);
    const QString path = m_dir.filePath(name);
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    QVector<Track> tracks;
    QVERIFY(!m_registry.load(tracks, path));
    QVERIFY(tracks.isEmpty());
    QVERIFY2(m_registry.errorString().contains(QLatin1String("not a regular file")),
             qPrintable(m_registry.errorString()));
    QVERIFY(QFile::remove(path));
}

QTEST_GUILESS_MAIN(TestWriteFaults)
#include "tst_writefaults.moc"
