#include "../photofactory.h"
#include "testsupport.h"
#include "tmpfsmount.h"

#include "formats/filenamecodec.h"

#include <QtTest>

#include <csignal>
#include <cstdio>
#include <optional>

using namespace TestSupport;

// The converter as a shell starts it: SIGXFSZ at its default action, whatever this program
// does with it, and optionally under a file size limit ("ulimit -f") of its own.
class ConverterProcess : public QProcess
{
public:
    qint64 fileSizeLimit = -1;

protected:
#ifdef Q_OS_UNIX
    void setupChildProcess() override
    {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
        if (fileSizeLimit >= 0)
            setrlimit(RLIMIT_FSIZE, &limit);
    }
#endif
};

// The converter as a user runs it: one row of tests/data/converter/runs.txt each.
class TestKv730Convert : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As the converter does: a byte of a name that is no UTF-8 text is kept as U+DCxx,
        // and so reaches the converter's arguments as that byte.
        FileNameCodec::install();
#ifndef _WIN32
        QCOMPARE(QFile::encodeName(QString(QChar(0xdcff))), QByteArray("\xff"));
#endif
    }
    // Every name survives as bytes; what is no UTF-8 text prints as \xNN, the rest as text.
    void nameBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("printed");
        QTest::newRow("text") << QByteArray("caf\xc3\xa9 \xf0\x9f\x97\xba.jpg") << QString("café 🗺.jpg");
        QTest::newRow("Latin-1") << QByteArray("caf\xe9.jpg") << QString("caf\\xe9.jpg");
        QTest::newRow("cut short") << QByteArray("a\xe2\x82") << QString("a\\xe2\\x82");
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QString("\\xc0\\xaf");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QString("\\xed\\xa0\\x80");
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80")
                                         << QString("\\xf4\\x90\\x80\\x80");
        QTest::newRow("a tab, a BOM") << QByteArray("\t\xef\xbb\xbf") << QString("\\x09\ufeff");
    }
    void nameBytes()
    {
        QFETCH(QByteArray, bytes);
        SKIP_UNLESS_POSIX(true);
        const QString name = QFile::decodeName(bytes);
        QCOMPARE(QFile::encodeName(name), bytes);
        QTEST(FileNameCodec::printable(name), "printed");
    }

    void run_data()
    {
        for (const char* column : {"arguments", "status", "output", "error", "settingIni"})
            QTest::addColumn<QString>(column);
        for (const QStringList& r : table("converter/runs.txt"))
            QTest::newRow(qPrintable(r[0] + (r.value(4).isEmpty() ? "" : " with " + r[4])))
                << r[0] << r.value(1) << r.value(2).replace("{version}", KV730_VERSION)
                << r.value(3) << r.value(4);
    }
    void run()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, settingIni);
        QFETCH(QString, error);
        QFETCH(QString, output);
        // "\xff": the byte 0xff, which is no UTF-8 text, in a name; in the output, as printed.
        const bool rawByte = arguments.contains("\\xff") || output.contains("\\xff");
        SKIP_UNLESS_POSIX(rawByte);
        const QString rawName = QString("x") + QChar(0xdcff) + ".jpg";
        arguments.replace("\\xff", QChar(0xdcff));
        error.replace("\\xff", QChar(0xdcff));
        QTemporaryDir dir;
        const QByteArray log = readFile(KV730_TEST_DATA "/converter/a.gpl");
        QVERIFY(writeFile(dir.filePath("a.gpl"), log) && writeFile(dir.filePath("A.GPL"), log) &&
                writeFile(dir.filePath("locked.gpl"), log) &&
                QFile::setPermissions(dir.filePath("locked.gpl"), {}) &&
                QFile::copy(KV730_TEST_DATA "/converter/cut.Tkx", dir.filePath("cut.Tkx")) &&
                QDir(dir.path()).mkdir("dir.gpl") &&
                QFile::link("loop.gpl", dir.filePath("loop.gpl")) &&
                QFile::link("/proc/self/mem", dir.filePath("eio.gpl"))); // reads fail
        makeFifo(dir.filePath("pipe.gpl")), makeFifo(dir.filePath("pipe.tkx"));
        QVERIFY(writeFile(dir.filePath("old.gpx"), "old content"));
        const auto photo = [&](const char* name, const char* format, const char* tag) {
            return writeFile(dir.filePath(name),
                             PhotoFactory::make(format, {tag, "Exif.Photo.SubSecTimeOriginal=5"}));
        };
        QVERIFY(QFile::copy(KV730_TEST_DATA "/converter/photos.gpl", dir.filePath("photos.gpl")) &&
                photo("on.jpg", "jpg", "Exif.Photo.DateTimeOriginal=2014:05:06 10:20:30") &&
                photo("late.jpg", "jpg", "Exif.Photo.DateTimeOriginal=2014:05:06 11:00:00") &&
                photo("raw.dng", "tif", "Exif.Image.DateTime=2014:05:06 10:20:31") &&
                photo("tab\tname.jpg", "jpg", "Exif.Photo.DateTimeOriginal=2014:05:06 10:20:30") &&
                writeFile(dir.filePath("raw.x3f"), "FOVb, a raw kind the library cannot read") &&
                writeFile(dir.filePath("bad.jpg"), "text") &&
                writeFile(dir.filePath("notes.txt"), "text"));
        // Other programs' files: fixes at 10:00:00, 10:01:00 and 10:03:00; a GPX with a
        // waypoint; a GPX that breaks off.
        QByteArray nmea;
        for (const char* time : {"100000", "100100", "100300"}) {
            const QByteArray body = QByteArray("GPRMC,") + time +
                                    ",A,2502.1234,N,12130.5678,E,1.0,0,060514,,";
            char sum = 0;
            for (char c : body)
                sum ^= c;
            nmea += '$' + body + '*' + QByteArray::number(uchar(sum), 16).rightJustified(2, '0').toUpper() + "\r\n";
        }
        const QByteArray gpx = "<gpx version=\"1.1\"><wpt lat=\"1\" lon=\"2\"/><trk><trkseg>"
                               "<trkpt lat=\"1\" lon=\"2\"/><trkpt lat=\"3\" lon=\"4\"/>";
        QVERIFY(writeFile(dir.filePath("trip.nmea"), nmea) &&
                writeFile(dir.filePath("wpt.gpx"), gpx + "</trkseg></trk></gpx>") &&
                writeFile(dir.filePath("cut.gpx"), gpx + "<trkpt lat="));
        if (arguments.contains("locked") && isRoot())
            QSKIP("permission bits do not stop root");
        SKIP_UNLESS_POSIX(settingIni == "<fifo>" || arguments.contains("pipe"));
        QVERIFY(settingIni == "<fifo>"
                    ? makeFifo(dir.filePath("Setting.ini"))
                    : settingIni.isEmpty() ||
                          writeFile(dir.filePath("Setting.ini"), settingIni.toUtf8()));
        QStringList words = arguments.split(' ');
        ConverterProcess process;
        if (words[0].startsWith("<fsize=")) {
            SKIP_UNLESS_POSIX(true);
            process.fileSizeLimit = words.takeFirst().mid(7).chopped(1).toLongLong();
        }
        if (rawByte)
            QVERIFY(QFile::copy(dir.filePath("a.gpl"), dir.filePath(QString("bad") + QChar(0xdcff) + ".gpl")) &&
                    QFile::copy(dir.filePath("on.jpg"), dir.filePath(rawName)));
        std::optional<TmpfsMount> full;
        if (words[0].startsWith(">full/")) {
            full.emplace(dir.filePath("full"), 64);
            if (!full->isMounted())
                QSKIP(qPrintable(full->reason()));
            full->fill();
        }
        if (words[0].startsWith('>'))
            process.setStandardOutputFile(
                QDir(dir.path()).absoluteFilePath(words.takeFirst().mid(1)));
        process.setWorkingDirectory(dir.path());
        process.start(KV730_BINARY_DIR "/kv730-convert", words);
        QVERIFY2(process.waitForFinished(20000), qPrintable(process.errorString()));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QTEST(QString::number(process.exitCode()), "status");
        QTEST(QString(process.readAllStandardOutput()), "output");
        const QByteArray written = readFile(dir.filePath(error.section(' ', 0, 0).mid(1)));
        if (error.startsWith('=')) // a file written, and how it begins
            QVERIFY(!written.isEmpty() && written.startsWith(error.section(' ', 1).toUtf8()));
        else
            QVERIFY2(process.readAllStandardError().contains(error.toUtf8()), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestKv730Convert)
#include "tst_kv730convert.moc"
