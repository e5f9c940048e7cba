#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString Binary = QStringLiteral(KV730_BINARY_DIR "/kv730-convert");

// Near, about 55 km north (a jump), near again.
const QByteArray Log = "$KV,2014:05:06-10:20:30,*GPS,2502.1234,N,12130.5678,E,35.2,12.34,0,0\r\n"
                       "$KV,2014:05:06-10:20:31,*GPS,2532.1234,N,12130.5678,E,36.0,50.00,0,0\r\n"
                       "$KV,2014:05:06-10:20:32,@GPS,2502.2234,S,12130.5678,W,37.5,20.00,0,0\r\n";

QString point(double lat, double lon, double alt, qint64 time, int marked, int speed)
{
    return QString::asprintf("%.17g\t%.17g\t%.17g\t%lld\t%d\t%d\t0\n", lat, lon, alt,
                             static_cast<long long>(time), marked, speed);
}

} // namespace

class TestKv730Convert : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
};

void TestKv730Convert::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("settingIni"); // empty: no ./Setting.ini
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");    // exact standard output, unless "*"
    QTest::addColumn<QString>("errorText"); // contained in standard error
    QTest::addColumn<QString>("written");   // file that must exist afterwards

    const QString header = QStringLiteral("1\t2014-05-06T10:20:30Z\t2\t%1\n");
    const double lat = 25 + (2 + 1234 / 10000.0) / 60.0;
    const double lon = 121 + (30 + 5678 / 10000.0) / 60.0;
    const double lat3 = -(25 + (2 + 2234 / 10000.0) / 60.0);
    const qint64 t = 1399371630;

    QTest::newRow("list") << QStringList{"--list", "a.gpl"} << QByteArray() << 0 << header.arg(2)
                          << ""
                          << "";
    QTest::newRow("list points") << QStringList{"--list", "--points", "a.gpl"} << QByteArray() << 0
                                 << header.arg(2) + point(lat, lon, 35.2, t, 0, 1234) +
                                        point(lat3, -lon, 37.5, t + 2, 1, 2000)
                                 << ""
                                 << "";
    QTest::newRow("filter off by option") << QStringList{"--list", "--gps-filter", "0", "a.gpl"}
                                          << QByteArray() << 0 << header.arg(3) << ""
                                          << "";
    QTest::newRow("filter off by Setting.ini")
        << QStringList{"--list", "a.gpl"} << QByteArray("[General]\nGPS_filter=0\n") << 0
        << header.arg(3) << ""
        << "";
    QTest::newRow("option overrides Setting.ini")
        << QStringList{"--list", "--gps-filter", "1", "a.gpl"}
        << QByteArray("[General]\nGPS_filter=0\n") << 0 << header.arg(2) << ""
        << "";
    QTest::newRow("option held as 8 bits") << QStringList{"--list", "--gps-filter", "256", "a.gpl"}
                                           << QByteArray() << 0 << header.arg(3) << ""
                                           << "";
    QTest::newRow("tracks in order")
        << QStringList{"--list", "--tracks", "3,1-2", "a.gpl", "a.gpl", "a.gpl"} << QByteArray()
        << 0
        << QString(header.arg(2)).replace(0, 1, "3") + header.arg(2) +
               QString(header.arg(2)).replace(0, 1, "2")
        << ""
        << "";
    // Points 1 and 3 (the jump is filtered), nearly antipodal: 13,729,514.93 m in 2 s.
    QTest::newRow("stats of the chosen track")
        << QStringList{"--stats", "--tracks", "2", "a.gpl", "a.gpl"} << QByteArray() << 0
        << "track\tpoints\tmarked\tstart_utc\tend_utc\tduration_s\tmoving_s\tdistance_m\t"
           "avg_kmh\tmoving_avg_kmh\tmax_kmh\tmin_alt_m\tmax_alt_m\tascent_m\tdescent_m\n"
           "2\t2\t1\t2014-05-06T10:20:30Z\t2014-05-06T10:20:32Z\t2\t2\t13729514.9\t"
           "24713126.87\t24713126.87\t20.00\t35.2\t37.5\t2.3\t0.0\n"
        << ""
        << "";
    QTest::newRow("help") << QStringList{"--help"} << QByteArray() << 0 << "*"
                          << ""
                          << "";
    QTest::newRow("write gpx") << QStringList{"a.gpl", "-o", "out.gpx"} << QByteArray() << 0 << ""
                               << ""
                               << "out.gpx";
    QTest::newRow("write csv in mph and feet")
        << QStringList{"--speed-unit", "mph",           "--height-unit", "ft", "--time",
                       "utc",          "--marked-only", "a.gpl",         "-o", "out.csv"}
        << QByteArray() << 0 << ""
        << ""
        << "out.csv";
    QTest::newRow("missing input")
        << QStringList{"--list", "a.gpl", "missing.gpl"} << QByteArray() << 1 << ""
        << "missing.gpl"
        << "";
    QTest::newRow("unknown input type") << QStringList{"notes.txt"} << QByteArray() << 1 << ""
                                        << "notes.txt"
                                        << "";
    QTest::newRow("no input") << QStringList{"--list"} << QByteArray() << 2 << ""
                              << ""
                              << "";
    QTest::newRow("unknown option") << QStringList{"--bogus", "a.gpl"} << QByteArray() << 2 << ""
                                    << "bogus"
                                    << "";
    QTest::newRow("points without list")
        << QStringList{"--points", "a.gpl"} << QByteArray() << 2 << ""
        << ""
        << "";
    QTest::newRow("bad speed unit")
        << QStringList{"--speed-unit", "knots", "a.gpl"} << QByteArray() << 2 << ""
        << "knots"
        << "";
    QTest::newRow("bad filter") << QStringList{"--gps-filter", "x", "a.gpl"} << QByteArray() << 2
                                << ""
                                << ""
                                << "";
    QTest::newRow("bad track list")
        << QStringList{"--tracks", "2-1", "a.gpl"} << QByteArray() << 2 << ""
        << ""
        << "";
    QTest::newRow("track zero") << QStringList{"--tracks", "0", "a.gpl"} << QByteArray() << 2 << ""
                                << ""
                                << "";
    QTest::newRow("no such track")
        << QStringList{"--tracks", "2", "a.gpl", "-o", "out.gpx"} << QByteArray() << 2 << ""
        << ""
        << "";
    QTest::newRow("log output not supported")
        << QStringList{"a.gpl", "-o", "out.gpl"} << QByteArray() << 3 << ""
        << "out.gpl"
        << "";
    QTest::newRow("unknown output type")
        << QStringList{"a.gpl", "-o", "out.txt"} << QByteArray() << 3 << ""
        << "out.txt"
        << "";
    QTest::newRow("output directory missing")
        << QStringList{"a.gpl", "-o", "nowhere/out.gpx"} << QByteArray() << 3 << ""
        << "out.gpx"
        << "";
}

void TestKv730Convert::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, settingIni);
    QFETCH(QString, output);
    QFETCH(QString, errorText);
    QFETCH(QString, written);

    QTemporaryDir dir;
    QFile log(dir.filePath(QStringLiteral("a.gpl")));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(Log);
    log.close();
    if (!settingIni.isEmpty()) {
        QFile ini(dir.filePath(QStringLiteral("Setting.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(settingIni);
    }

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(Binary, arguments);
    QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QTEST(process.exitCode(), "status");
    if (output != QLatin1String("*"))
        QCOMPARE(out, output);
    else
        QVERIFY(out.contains(QLatin1String("--gps-filter")) &&
                out.contains(QLatin1String("--stats")));
    QVERIFY2(err.contains(errorText), qPrintable(err));
    if (!written.isEmpty())
        QVERIFY(QFileInfo(dir.filePath(written)).size() > 0);
}

QTEST_GUILESS_MAIN(TestKv730Convert)
#include "tst_kv730convert.moc"
