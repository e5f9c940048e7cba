#include "testsupport.h"

#include <QtTest>

// Near, about 55 km north (a jump), near again.
const QByteArray Log = "$KV,2014:05:06-10:20:30,*GPS,2502.1234,N,12130.5678,E,35.2,12.34,0,0\r\n"
                       "$KV,2014:05:06-10:20:31,*GPS,2532.1234,N,12130.5678,E,36.0,50.00,0,0\r\n"
                       "$KV,2014:05:06-10:20:32,@GPS,2502.2234,S,12130.5678,W,37.5,20.00,0,0\r\n";

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
        QTest::addColumn<QByteArray>("settingIni"); // empty: no ./Setting.ini
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output"); // standard output
        QTest::addColumn<QString>("error");  // contained in standard error; or the written file
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
            "out.csv");
        row("--list a.gpl missing.gpl", 1, "", "missing.gpl");
        row("notes.txt", 1, "", "notes.txt");
        row("--version", 0, "kv730-convert " KV730_VERSION "\n");
        row("--list", 2);
        row("--bogus a.gpl", 2, "", "bogus");
        row("--tracks 2 a.gpl -o out.gpx", 2);
        row("a.gpl -o out.gpl", 3, "", "out.gpl"); // no log writer
        row("a.gpl -o nowhere/out.gpx", 3, "", "out.gpx");
    }

    void run()
    {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, settingIni);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath("a.gpl"), Log));
        QVERIFY(settingIni.isEmpty() ||
                TestSupport::writeFile(dir.filePath("Setting.ini"), settingIni));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(KV730_BINARY_DIR "/kv730-convert", arguments.split(' '));
        QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QTEST(process.exitCode(), "status");
        QTEST(QString(process.readAllStandardOutput()), "output");
        if (error.startsWith("out.") && process.exitCode() == 0)
            QVERIFY(QFileInfo(dir.filePath(error)).size() > 0);
        else
            QVERIFY2(process.readAllStandardError().contains(error.toUtf8()), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestKv730Convert)
#include "tst_kv730convert.moc"
