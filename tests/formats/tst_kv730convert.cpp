#include "testsupport.h"
#include "tmpfsmount.h"

#include <QtTest>

using TestSupport::readFile;

#include <optional>

// Near, about 55 km north (a jump), near again.
const QByteArray Log = "$KV,2014:05:06-10:20:30,*GPS,2502.1234,N,12130.5678,E,35.2,12.34,0,0\r\n"
                       "$KV,2014:05:06-10:20:31,*GPS,2532.1234,N,12130.5678,E,36.0,50.00,0,0\r\n"
                       "$KV,2014:05:06-10:20:32,@GPS,2502.2234,S,12130.5678,W,37.5,20.00,0,0\r\n";
// An archive whose index announces 1000 points of which the file holds none.
const QByteArray Cut = QByteArray("VLTR\x02", 5).leftJustified(40, '\0') +
                       QByteArray("\x01", 1).leftJustified(68, '\0') +
                       QByteArray("\0\0\0\0\x78\0\0\0\xe8\x03\0\0", 12) + QByteArray(12, '\0');

static QString track(int number, int points)
{
    return QString::asprintf("%d\t2014-05-06T10:20:30Z\t2\t%d\n", number, points);
}

class TestKv730Convert : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("settingIni"); // empty: no ./Setting.ini; or "<fifo>"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output"); // standard output
        QTest::addColumn<QString>("error");  // in standard error; or the file written ":" its start
        auto row = [](const char* arguments, int status, const QString& output = "",
                      const QString& error = "", const QByteArray& ini = "") {
            QTest::addRow("%s%s", arguments, ini.isEmpty() ? "" : " (Setting.ini)")
                << QString(arguments) << ini << status << output << error;
        };
        const QByteArray filterOff = "GPS_filter=256\n"; // the low 8 bits: 0
        row("--list --points a.gpl", 0,
            track(1, 2) +
                "25.03539\t121.50946333333333\t35.200000000000003\t1399371630\t0\t1234\t0\n"
                "-25.037056666666668\t-121.50946333333333\t37.5\t1399371632\t1\t2000\t0\n");
        row("--list a.gpl", 0, track(1, 3), "", filterOff);
        row("--list --gps-filter 1 a.gpl", 0, track(1, 2), "", filterOff); // the option wins
        row("--list --tracks 3,1-2 a.gpl a.gpl a.gpl", 0, track(3, 2) + track(1, 2) + track(2, 2));
        // Points 1 and 3 (the jump is filtered), nearly antipodal: 13,729,514.93 m in 2 s.
        row("--stats --tracks 2 a.gpl a.gpl", 0,
            "track\tpoints\tmarked\tstart_utc\tend_utc\tduration_s\tmoving_s\tdistance_m\t"
            "avg_kmh\tmoving_avg_kmh\tmax_kmh\tmin_alt_m\tmax_alt_m\tascent_m\tdescent_m\n"
            "2\t2\t1\t2014-05-06T10:20:30Z\t2014-05-06T10:20:32Z\t2\t2\t13729514.9\t"
            "24713126.87\t24713126.87\t20.00\t35.2\t37.5\t2.3\t0.0\n");
        row("a.gpl -o out.gpx", 0, "", "out.gpx");
        row("--speed-unit mph --height-unit ft --time utc --marked-only a.gpl -o out.csv", 0, "",
            "out.csv:Date, Time (UTC), Latitude, Longitude, Altitude (feet), Speed (mi/hr)\n"
            "2014-05-06,10:20:32,-25.037057,-121.509463,123.03,12.43\n");
        row("--list a.gpl missing.gpl", 1, "",
            "missing.gpl: The file cannot be read: No such file");
        row("--list dir.gpl", 1, "", "directory");
        row("--list loop.gpl", 1, "", "symbolic links");
        row("--list locked.gpl", 1, "", "Permission denied");
        row("notes.txt", 1, "", "notes.txt");
        row("--version", 0, "kv730-convert " KV730_VERSION "\n");
        row("--list", 2);
        row("--bogus a.gpl", 2, "", "bogus");
        row("--tracks 2 a.gpl -o out.gpx", 2);
        row("a.gpl -o out.gpl", 3, "", "out.gpl"); // no log writer
        row("a.gpl -o nowhere/out.gpx", 3, "", "out.gpx");
        // Standard output into a file (">file", "full/" a full drive).
        row(">/dev/full --list --points a.gpl", 3, "", "No space left");
        row(">full/out --stats a.gpl", 3, "", "No space left");
        row(">/dev/full --help", 3, "", "No space left");
        row("--list eio.gpl", 1, "", "Input/output error"); // not a shorter track
        row("--list A.GPL", 0, track(1, 2));
        row("--list --tracks 2-2147483647 a.gpl", 2, "", "no track 2 (1 read)");
        row("--list --tracks 1-99999999999 a.gpl", 2, "", "bad track list");
        row("--list cut.Tkx", 4, "1\t1970-01-01T00:00:00Z\t0\t0\n", "1000 of its 1000 points");
        row("--list a.gpl", 0, track(1, 2), "", "<fifo>"); // read as missing, without a hang
    }

    void run()
    {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, settingIni);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath("a.gpl"), Log) &&
                TestSupport::writeFile(dir.filePath("A.GPL"), Log) &&
                TestSupport::writeFile(dir.filePath("cut.Tkx"), Cut) &&
                TestSupport::writeFile(dir.filePath("locked.gpl"), Log) &&
                QFile::setPermissions(dir.filePath("locked.gpl"), {}) &&
                QDir(dir.path()).mkdir("dir.gpl") &&
                QFile::link("loop.gpl", dir.filePath("loop.gpl")) &&
                QFile::link("/proc/self/mem", dir.filePath("eio.gpl"))); // reads fail
        if (arguments.contains("locked") && TestSupport::isRoot())
            QSKIP("permission bits do not stop root");
        SKIP_UNLESS_POSIX(settingIni == "<fifo>");
        QVERIFY(settingIni != "<fifo>" || TestSupport::makeFifo(dir.filePath("Setting.ini")));
        QVERIFY(settingIni.isEmpty() || settingIni == "<fifo>" ||
                TestSupport::writeFile(dir.filePath("Setting.ini"), settingIni));
        QStringList words = arguments.split(' ');
        std::optional<TmpfsMount> full;
        if (words[0].startsWith(">full/")) {
            full.emplace(dir.filePath("full"), 64);
            if (!full->isMounted())
                QSKIP(qPrintable(full->reason()));
            full->fill();
        }
        QProcess process;
        if (words[0].startsWith('>'))
            process.setStandardOutputFile(
                QDir(dir.path()).absoluteFilePath(words.takeFirst().mid(1)));
        process.setWorkingDirectory(dir.path());
        process.start(KV730_BINARY_DIR "/kv730-convert", words);
        QVERIFY2(process.waitForFinished(20000), qPrintable(process.errorString()));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QTEST(process.exitCode(), "status");
        QTEST(QString(process.readAllStandardOutput()), "output");
        const QByteArray written = readFile(dir.filePath(error.section(':', 0, 0)));
        if (error.startsWith("out.") && process.exitCode() == 0) // with how it begins
            QVERIFY(!written.isEmpty() && written.startsWith(error.section(':', 1).toUtf8()));
        else
            QVERIFY2(process.readAllStandardError().contains(error.toUtf8()), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestKv730Convert)
#include "tst_kv730convert.moc"
