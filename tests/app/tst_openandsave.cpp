#include "app/mainwindow.h"
#include "device/lockedpath.h"
#include "formats/fileformattkr.h"
#include "testsupport.h"
#include "view/mapwidget.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace
{

// Runs `handle` on the next modal widget (a dialog or message box) once it is shown.
void onNextModal(std::function<void(QWidget*)> handle)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            handle(modal);
        }
    });
    timer->start(10);
}

// Records what the save flow hands to the writer.
struct RecordingFormat : FileFormat {
    QStringList calls;
    QList<int> selection;
    bool markedOnly = false;
    bool load(QVector<Track>&, const QString&) override { return false; }
    bool save(QVector<Track>, QString& name, QList<int> sel, bool marked) override
    {
        calls << name;
        selection = sel;
        markedOnly = marked;
        return true;
    }
};

Track sampleTrack(int points)
{
    Track t;
    t.startTime = 1399371630;
    t.fmt = 2;
    for (int i = 0; i < points; ++i)
        t.points << TestSupport::point(25 + i * 0.01, 121, 0, t.startTime + i, i % 2);
    return t;
}

} // namespace

class TestOpenAndSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void saveFileName_data();
    void saveFileName();
    void failureReportedAndNothingLost_data();
    void failureReportedAndNothingLost();
    void saveThroughRealDialog();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
};

void TestOpenAndSave::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*.debug=false"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void TestOpenAndSave::init()
{
    QSettings s("Veltrona", "KV-730");
    s.clear();
    s.setValue("directory", m_dir.path());
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
    QTest::newRow("other extension") << "trip.kml" << gpx << "trip.kml.gpx";
    // Used to be dropped silently because ".gpx" occurs in the name.
    QTest::newRow("extension inside") << "trip.gpx.old" << gpx << "trip.gpx.old.gpx";
    QTest::newRow("tkx") << "day1" << QString("TKX File (*.tkx)") << "day1.tkx";
    QTest::newRow("csv") << "day1" << QString("CSV File (*.csv)") << "day1.csv";
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
    // clang-format off
    QTest::newRow("save into read-only folder") << "old.gpx" << gpx << QByteArray() << "cannot be written";
    QTest::newRow("save below a file") << "old.gpx/inner.gpx" << gpx << QByteArray() << "cannot be written";
    QTest::newRow("save unknown extension") << "old.gpx.txt" << QString("All (*)") << QByteArray() << "Unknown file extension";
    QTest::newRow("open upper-case extension") << "TRACK.GPL" << QString() << QByteArray("x") << "Unknown";
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
    QTemporaryDir dir;
    QStringList files{"old.gpx", name};
    QVERIFY(writeFile(dir.filePath("old.gpx"), "old contents"));
    if (contents.isEmpty())
        files.removeLast();
    else
        QVERIFY(writeFile(dir.filePath(name), contents));
    QString archive = m_dir.filePath("two.tkx");
    QVERIFY(FileFormatTKR().save({sampleTrack(3), sampleTrack(4)}, archive, {0, 1}, false));
    MainWindow w;
    QVERIFY(w.openFile(archive));
    QString message;
    onNextModal([&message](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            message = box->text();
            box->done(0);
        }
    });
    const bool readOnly = name == "old.gpx";
    bool done;
    {
        LockedPath lock(readOnly ? dir.path() : QString());
        if (readOnly && !lock.isLocked())
            QSKIP("cannot make a folder read-only here");
        const QString path = dir.filePath(name);
        done = saveFilter.isEmpty() ? w.openFile(path) : w.saveFile(path, saveFilter, {0}, false);
    }
    QVERIFY(!done);
    QCOMPARE(w.tracks().size(), 2);
    QVERIFY2(message.contains(QDir::toNativeSeparators(dir.filePath(name))), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(readFile(dir.filePath("old.gpx")), QByteArray("old contents"));
    files.sort(Qt::CaseInsensitive);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             files);
}

// The check box of MyFileDialog reaches the writer, with the checked tracks and the extension.
void TestOpenAndSave::saveThroughRealDialog()
{
    MainWindow w;
    w.tracks() = {sampleTrack(2), sampleTrack(2)};
    w.mapWidget()->updateTrackList();
    auto* recorder = new RecordingFormat;
    w.registry().add(".gpx", recorder);
    QVERIFY(QDir(m_dir.path()).mkpath("saved"));
    const QString target = m_dir.filePath("saved/trip");
    QString boxText;
    onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return;
        if (auto* box = dialog->findChild<QCheckBox*>("markedOnlyCheckBox")) {
            boxText = box->text();
            box->setChecked(true);
        }
        dialog->selectNameFilter("GPX File (*.gpx)");
        dialog->setDirectory(QFileInfo(target).absolutePath());
        dialog->selectFile(target);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    const QList<int> checked = w.mapWidget()->checkedTracks();
    w.action("saveAct")->trigger();
    QCOMPARE(boxText, QStringLiteral("Save marked points only"));
    QCOMPARE(recorder->calls, QStringList{target + ".gpx"});
    QVERIFY(recorder->markedOnly);
    QCOMPARE(recorder->selection, checked);
    QCOMPARE(w.lastDirectory(), QFileInfo(target).absolutePath());
}

QTEST_MAIN(TestOpenAndSave)
#include "tst_openandsave.moc"
