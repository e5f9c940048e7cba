#include "../photofactory.h"
#include "testsupport.h"
#include "tmpfsmount.h"

#include <QtTest>

#include <optional>

using namespace TestSupport;

// The converter as a user runs it: one row of tests/data/converter/runs.txt each.
class TestKv730Convert : public QObject
{
    Q_OBJECT

private slots:
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
        if (arguments.contains("locked") && isRoot())
            QSKIP("permission bits do not stop root");
        SKIP_UNLESS_POSIX(settingIni == "<fifo>" || arguments.contains("pipe"));
        QVERIFY(settingIni == "<fifo>"
                    ? makeFifo(dir.filePath("Setting.ini"))
                    : settingIni.isEmpty() ||
                          writeFile(dir.filePath("Setting.ini"), settingIni.toUtf8()));
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
