#include "app/mainwindow.h"
#include "device/lockedpath.h"
#include "dialoganswerer.h"
#include "formats/fileformattkr.h"
#include "isolation.h"
#include "testsupport.h"
#include "tmpfsmount.h"
#include "view/mapwidget.h"

#include <QtTest>
#include <QtWidgets>

#include <optional>

using namespace TestSupport;

static Track sampleTrack() // one marked and one unmarked point
{
    Track t;
    t.fmt = 2;
    t.points = {point(25, 121, 0, 1399371630, 1), point(25.1, 121, 0, 1399371631)};
    return t;
}

class TestOpenAndSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void saveFileName_data();
    void saveFileName();
    void failureReportedAndNothingLost_data();
    void failureReportedAndNothingLost();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QStringList m_drives;
};

void TestOpenAndSave::initTestCase()
{
    Isolation::mainWindow(m_settingsDir.path(), &m_drives);
}

void TestOpenAndSave::saveFileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("saved");
    const QString gpx = "GPX File (*.gpx)";
    // clang-format off
    QTest::newRow("no extension") << "trip" << gpx << "trip.gpx";
    QTest::newRow("extension typed") << "trip.gpx" << gpx << "trip.gpx";
    QTest::newRow("case-sensitive") << "Trip.GPX" << gpx << "Trip.GPX.gpx";
    // Used to be dropped silently because ".gpx" occurs in the name.
    QTest::newRow("extension inside") << "trip.gpx.old" << gpx << "trip.gpx.old.gpx";
    QTest::newRow("tkx") << "day1" << QString("TKX File (*.tkx)") << "day1.tkx";
    QTest::newRow("other filter") << "day1" << QString("All (*)") << "day1";
    // clang-format on
}

void TestOpenAndSave::saveFileName()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QTEST(MainWindow::saveFileName(typed, filter), "saved");
}

void TestOpenAndSave::failureReportedAndNothingLost_data()
{
    QTest::addColumn<QString>("name");        // in a folder that holds "old.gpx"
    QTest::addColumn<QString>("saveFilter");  // empty: the file is opened
    QTest::addColumn<QByteArray>("contents"); // of the file to open; empty: no file
    QTest::addColumn<QString>("reason");
    const QString gpx = "GPX File (*.gpx)";
    QString cut = m_dir.filePath("cut.tkx"); // opened with what it holds, and a warning
    QVERIFY(FileFormatTKR().save({sampleTrack(), sampleTrack()}, cut, {0, 1}, false));
    // clang-format off
    QTest::newRow("save into read-only folder") << "old.gpx" << gpx << QByteArray() << "cannot be written";
    QTest::newRow("save below a file") << "old.gpx/inner.gpx" << gpx << QByteArray() << "cannot be written";
    QTest::newRow("save into a vanished folder") << "gone/trip.gpx" << gpx << QByteArray() << "cannot be written";
    QTest::newRow("save onto a full drive") << "old.gpx" << gpx << QByteArray() << "No space left";
    QTest::newRow("save unknown extension") << "old.gpx.txt" << QString("All (*)") << QByteArray() << "Unknown file extension";
    QTest::newRow("open damaged") << "CUT.TKX" << QString() << readFile(cut).chopped(48) << "1 of its 4 points are missing";
    QTest::newRow("open not an archive") << "bad.tkx" << QString() << QByteArray(200, 'x') << "not a TKX archive";
    QTest::newRow("open shorter than a header") << "short.tkx" << QString() << QByteArray("VLTR") << "not a TKX";
    QTest::newRow("open missing") << "missing.tkx" << QString() << QByteArray() << "cannot be read";
    QTest::newRow("open export format") << "x.gpx" << QString() << QByteArray("<gpx/>") << "cannot be opened";
    // clang-format on
}

// A failed save leaves the old file as it was, a failed open keeps the tracks, and both say why.
void TestOpenAndSave::failureReportedAndNothingLost()
{
    QFETCH(QString, name);
    QFETCH(QString, saveFilter);
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);
    QTemporaryDir tmp;
    std::optional<TmpfsMount> tmpfs;
    if (QTest::currentDataTag() == QLatin1String("save onto a full drive")) {
        tmpfs.emplace(tmp.filePath("full"), 64);
        if (!tmpfs->isMounted())
            QSKIP(qPrintable(tmpfs->reason()));
    }
    const QDir dir(tmpfs ? tmpfs->path() : tmp.path());
    QVERIFY(writeFile(dir.filePath("old.gpx"), "old contents"));
    if (!contents.isEmpty())
        QVERIFY(writeFile(dir.filePath(name), contents));
    if (tmpfs)
        tmpfs->fill();
    QString archive = m_dir.filePath("two.tkx");
    QVERIFY(FileFormatTKR().save({sampleTrack(), sampleTrack()}, archive, {0, 1}, false));
    MainWindow w;
    QVERIFY(w.openFile(archive));
    DialogAnswerer answers;
    answers.expectBox();
    const bool readOnly = name == "old.gpx" && !tmpfs;
    bool done;
    {
        LockedPath lock(readOnly ? dir.path() : QString());
        if (readOnly && !lock.isLocked())
            QSKIP("cannot make a folder read-only here");
        const QString path = dir.filePath(name);
        done = saveFilter.isEmpty() ? w.openFile(path) : w.saveFile(path, saveFilter, {0}, false);
    }
    QCOMPARE(done, name == "CUT.TKX");
    QCOMPARE(w.tracks().size(), 2);
    QTRY_VERIFY(answers.done());
    const QString message = answers.boxes.value(0);
    QVERIFY2(message.contains(QDir::toNativeSeparators(dir.filePath(name))), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(readFile(dir.filePath("old.gpx")), QByteArray("old contents"));
    QStringList expected = {"old.gpx"}; // and no temporary file
    if (!contents.isEmpty())
        expected << name;
    if (tmpfs)
        expected << "filler";
    expected.sort(Qt::CaseInsensitive);
    QCOMPARE(entries(dir.path()), expected);
}

QTEST_MAIN(TestOpenAndSave)
#include "tst_openandsave.moc"
