#include "../tmpfsmount.h"
#include "formats/fileformatcsv.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatkml.h"
#include "formats/fileformatregistry.h"
#include "formats/fileformattkr.h"
#include "formats/numbertext.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QtTest>

#include <cstdio>
#include <sys/stat.h>
#ifdef Q_OS_UNIX
#include <sys/xattr.h>
#include <unistd.h>
#endif

using namespace TestSupport;

// In Taipei (UTC+8), point 2 is the next day; ties at 2 and 6 decimals, -0.0 and a speed above
// 2^31; track 2 has no marked point.
const QVector<Track> Sample{
    {1399371630,
     2,
     {point(25.035522, 121.509644, 35.2, 1399371630, 0, 1234),
      point(-33.5, -70.25, 12.125, 1399392005, 1, 10000),
      point(0.0078125, -0.0, 100, 1399391999, 0, qint32(0x80000000u))}},
    {1399400000,
     1,
     {point(24.5, 120.25, 99.5, 1399400000, 1, 250), point(24.6, 120.35, 98.5, 1399400001)}},
    {1399500000, 2, {point(-12.345678, 45.000001, -5.5, 1399500000, 0, 1)}},
    {1399600000, 0, {point(1.0, 2.0, 3.0, 1399600000, 1, 4)}},
    {0, 2, {}}};

// What an outside program says against a file; empty when it is content.
static QByteArray failure(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    return ok && p.exitCode() == 0 ? QByteArray() : "failed: " + p.readAllStandardError();
}

// A device that counts the writes that reach it, and fails the one numbered failAt.
struct WriteRecorder : QBuffer {
    WriteRecorder() { open(QIODevice::WriteOnly); }
    qint64 writeData(const char* bytes, qint64 length) override
    {
        return ++writes == failAt ? -1 : QBuffer::writeData(bytes, length);
    }
    int writes = 0;
    int failAt = 0;
};

class TestTrackExports : public QObject
{
    Q_OBJECT

    TzSwitch m_taipei{"Asia/Taipei"};
    QTemporaryDir m_dir;
    TestSettings m_settings;
    FileFormatRegistry m_registry;

    // The writer of a format, straight to a device and with the given line end.
    bool write(const QString& name, QIODevice* device, const QVector<Track>& tracks,
               const QList<int>& selection, bool markedOnly, const char* lineEnd)
    {
        if (name.endsWith(".csv"))
            return FileFormatCSV(&m_settings).write(device, tracks, selection, markedOnly, lineEnd);
        if (name.endsWith(".gpx"))
            return FileFormatGPX::write(device, tracks, selection, markedOnly, lineEnd);
        if (name.endsWith(".kml"))
            return FileFormatKML::write(device, tracks, selection, markedOnly, lineEnd);
        return FileFormatTKR::write(device, tracks, selection, markedOnly);
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules("kv730.*=false");
        m_registry.addStandardFormats(&m_settings);
    }

    void golden_data() { addTable("exports/settings.txt", {"units"}); }
    void golden()
    {
        const QString golden = QTest::currentDataTag();
        QFETCH(QString, units);
        m_settings = TestSettings(units[0] == '1', units[2] == '1', units[4] == '1');
        const bool markedOnly = golden.startsWith("marked");
        const QList<int> selection = golden.startsWith("empty") ? QList<int>{}
                                     : markedOnly               ? QList<int>{2, 0, 1}
                                                                : QList<int>{0, 1, 2, 3, 4};
        const QString name = m_dir.filePath(golden);
        QVERIFY(m_registry.save(Sample, name, selection, markedOnly));
        QByteArray expected = readFile(KV730_TEST_DATA "/exports/" + golden);
        QCOMPARE(readFile(name), expected);
        // Where the platform's line end is CR LF, only the line ends differ.
        WriteRecorder crlf;
        QVERIFY(write(golden, &crlf, Sample, selection, markedOnly, "\r\n"));
        if (!golden.endsWith(".tkx"))
            expected.replace('\n', "\r\n");
        QCOMPARE(crlf.data(), expected);
    }

    // Each writer's output reaches the file in large blocks, whatever the line end, also when
    // it is made of many short tracks: 100,000 points in 1,000 tracks. A write that fails
    // (the second) ends the output and fails the writer.
    void largeWrites_data() { addRows("name", {"a.csv", "a.gpx", "a.kml", "a.tkx"}); }
    void largeWrites()
    {
        QFETCH(QString, name);
        QVector<Track> tracks(1000, Track{1399371630, 2, {}});
        QList<int> selection;
        for (int i = 0; i < 100000; ++i) {
            tracks[i % 1000].points << point(25 + i * 1e-5, 121, 10, 1399371630 + i, 1);
            if (i < 1000)
                selection << i;
        }
        for (const char* lineEnd : {"\n", "\r\n", "fail"}) {
            WriteRecorder file;
            file.failAt = lineEnd == QLatin1String("fail") ? 2 : 0;
            QCOMPARE(write(name, &file, tracks, selection, false, file.failAt ? "\n" : lineEnd),
                     !file.failAt);
            QVERIFY2(
                file.failAt ? file.writes == 2 : file.writes <= file.size() / 65536 + 3,
                qPrintable(QString("%1 writes for %2 bytes").arg(file.writes).arg(file.size())));
        }
    }

    // The writers' fast numbers are those of QString::arg and printf, ties included, and
    // numbers of hundreds of digits fit in their buffers.
    void numbers()
    {
        QRandomGenerator r(730);
        QVector<double> values{-0.0, 0.0078125, -0.0078125, 0.005, 1.005, 1e300, -1.7e308};
        for (int i = 0; i < 20000; ++i) // multiples of 1/128 and 1/8 make ties
            values << (r.bounded(2) ? r.bounded(-80000, 80000) / (r.bounded(2) ? 8.0 : 128.0)
                                    : (r.generateDouble() - 0.5) * 1000);
        char buffer[400], c[400];
        for (double v : values)
            for (int decimals : {2, 6}) {
                const char* end = NumberText::qtFixed(buffer, v, decimals);
                QCOMPARE(QString::fromLatin1(buffer, int(end - buffer)),
                         QString("%1").arg(v, 0, 'f', decimals));
                end = NumberText::cFixed(buffer, v, decimals);
                std::snprintf(c, sizeof c, "%.*f", decimals, v);
                QCOMPARE(QByteArray(buffer, int(end - buffer)), QByteArray(c));
            }
        for (const char* ext : {"csv", "gpx", "kml"}) {
            const QString name = m_dir.filePath(QString("huge.") + ext);
            QVERIFY(m_registry.save({{0, 2, {point(1e300, -1e300, -1.7e308, 0, 1, -1)}}}, name, {0},
                                    false));
            QVERIFY(readFile(name).contains(QString("%1").arg(-1.7e308, 0, 'f', 2).toLatin1()));
        }
    }

    // What no file format can hold never reaches a file: a point without a finite position is
    // left out, an altitude that is not finite (also once in feet) left empty.
    void nonFinite_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("heightUnit");
        for (const char* name : {"n.csv", "n.gpx", "n.kml"})
            QTest::newRow(name) << QString(name) << 0;
        QTest::newRow("n.csv in feet") << QString("n.csv") << 1;
    }
    void nonFinite()
    {
        QFETCH(QString, name);
        QFETCH(int, heightUnit);
        m_settings = TestSettings(0, heightUnit, 0);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const Track track{1399371630,
                          2,
                          {point(25.5, 121.25, 10, 1399371630), point(26.5, 121.25, nan, 1399371631),
                           point(27.5, 121.25, 1e308, 1399371632),
                           point(nan, 122.75, 10, 1399371633), point(28.5, inf, 10, 1399371634),
                           point(29.5, -inf, -inf, 1399371635)}};
        const QString path = m_dir.filePath(name);
        QVERIFY(m_registry.save({track}, path, {0}, false));
        const QByteArray text = readFile(path).toLower();
        QVERIFY2(!text.contains("nan") && !text.contains("inf"), text.constData());
        for (const char* kept : {"25.500000", "26.500000", "27.500000"})
            QVERIFY2(text.contains(kept), kept);
        for (const char* left : {"122.750000", "28.500000", "29.500000"})
            QVERIFY2(!text.contains(left), left);
    }

    // A saved file stays the user's: owner and group (root saves it), permissions and extended
    // attributes are those of the file it replaces.
    void attributesKept()
    {
#ifndef Q_OS_UNIX
        QSKIP("owners and extended attributes are kept on POSIX systems only");
#else
        if (!isRoot())
            QSKIP("only root can give a file to another user");
        QString name = m_dir.filePath("kept.gpx");
        QVERIFY(writeFile(name, "old contents"));
        const QByteArray path = QFile::encodeName(name);
        if (::setxattr(path.constData(), "user.kv730", "mine", 4, 0) != 0)
            QSKIP("no extended attributes on this file system");
        QVERIFY(::chown(path.constData(), 4321, 8765) == 0 && ::chmod(path.constData(), 0640) == 0);
        QVERIFY(m_registry.save(Sample, name, {0}, false));
        struct stat st = {};
        QVERIFY(::stat(path.constData(), &st) == 0);
        QCOMPARE(std::make_tuple(st.st_uid, st.st_gid, st.st_mode & 07777),
                 std::make_tuple(uid_t(4321), gid_t(8765), mode_t(0640)));
        char value[16] = {};
        QCOMPARE(::getxattr(path.constData(), "user.kv730", value, sizeof value), ssize_t(4));
        QCOMPARE(QByteArray(value), QByteArray("mine"));
        QVERIFY(readFile(name) != "old contents");
#endif
    }

    // Other programs take what we write: the GPX schema, and GPSBabel reading the points back.
    void externalTools()
    {
        const QString schema = KV730_TEST_DATA "/schemas/gpx.xsd";
        QVERIFY(QFile::exists(schema));
        if (QStandardPaths::findExecutable("xmllint").isEmpty() ||
            QStandardPaths::findExecutable("gpsbabel").isEmpty())
            SKIP_UNLESS_CI("xmllint (libxml2-utils) or gpsbabel is missing");
        const QVector<Vec3> all = Sample[0].points + Sample[1].points + Sample[2].points;
        for (QString name : {m_dir.filePath("b.gpx"), m_dir.filePath("b.kml")}) {
            QVERIFY(m_registry.save(Sample, name, {0, 1, 2}, false));
            const QString csv = name + ".csv", format = QFileInfo(name).suffix();
            QCOMPARE(
                failure("gpsbabel", {"-t", "-i", format, "-f", name, "-o", "unicsv", "-F", csv}) +
                    (format == "kml" ? ""
                                     : failure("xmllint", {"--noout", "--schema", schema, name})),
                QByteArray());
            const QList<QByteArray> lines = readFile(csv).trimmed().split('\n');
            QVERIFY(lines.size() == all.size() + 1 && lines[0].startsWith("No,Latitude,Longitude"));
            for (int i = 0; i < all.size(); ++i) // gpsbabel gives -0 as 0
                QVERIFY(qAbs(lines[i + 1].split(',')[1].toDouble() - all[i].lat) < 1e-6 &&
                        qAbs(lines[i + 1].split(',')[2].toDouble() - all[i].lon) < 1e-6);
        }
    }

    void writeFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("message");
        for (const QStringList& fault : table("exports/faults.txt"))
            for (const char* ext : {".tkx", ".csv", ".gpx", ".kml"})
                QTest::addRow("%s %s", qPrintable(fault[0]), ext) << fault[0] << ext << fault[1];
    }
    // A save that fails says why, leaves the old file (or device, or pipe) as it was and no
    // temporary file behind. Committing onto a device or pipe would have put a regular file in
    // its place and reported success.
    void writeFaults()
    {
        QFETCH(QString, fault);
        QFETCH(QString, extension);
        SKIP_UNLESS_POSIX(fault != "vanished folder" && fault != "full drive");
        QTemporaryDir dir;
        QString folder = dir.path();
        std::unique_ptr<TmpfsMount> drive;
        if (fault == "full drive") {
            drive.reset(new TmpfsMount(dir.filePath("drive"), 64)); // some 1 MB onto 64 kB
            if (!drive->isMounted())
                QSKIP(qPrintable(drive->reason()));
            folder = drive->path();
        } else if (fault == "vanished folder") {
            folder = dir.filePath("gone");
            QVERIFY(QDir().mkpath(folder) && QDir(folder).removeRecursively());
        }
        QString name = fault == "/dev/full" ? fault : folder + "/old" + extension;
        if (fault == "pipe")
            QVERIFY(makeFifo(name));
        else if (fault != "/dev/full" && fault != "vanished folder")
            QVERIFY(writeFile(name, "old contents"));
        // Replaced, the file would lose its other name, which would keep the old contents.
#ifdef Q_OS_UNIX
        if (fault == "hard link")
            QVERIFY(::link(QFile::encodeName(name).constData(),
                           QFile::encodeName(folder + "/other").constData()) == 0);
#endif
        struct stat before = {}, after = {};
        ::stat(QFile::encodeName(name).constData(), &before);
        const Track big = makeTrack(1399371630, 20000, [](int i) {
            return point(25 + i * 1e-5, 121 + i * 1e-5, 10, 1399371630 + i, 1, 100);
        });
        FileFormat* format = m_registry.findFormat(extension);
        bool saved = true;
        const auto save = [&] { saved = format->save({big}, name, {0}, false); };
        fault == "size limit" ? withFileSizeLimit(64 * 1024, save) : save();
        QVERIFY(!saved);
        QFETCH(QString, message);
        QVERIFY2(format->errorString().contains(message), qPrintable(format->errorString()));
        ::stat(QFile::encodeName(name).constData(), &after);
        QCOMPARE(std::make_tuple(after.st_mode, after.st_rdev, after.st_ino),
                 std::make_tuple(before.st_mode, before.st_rdev, before.st_ino));
        if (S_ISREG(before.st_mode))
            QCOMPARE(readFile(name), QByteArray("old contents"));
        const bool none = fault == "vanished folder" || fault == "/dev/full";
        QStringList expected{"old" + extension};
        if (fault == "hard link")
            expected << "other";
        QCOMPARE(entries(folder), none ? QStringList() : expected);
    }
};

QTEST_GUILESS_MAIN(TestTrackExports)
#include "tst_trackexports.moc"
