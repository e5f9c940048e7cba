#include "app/mainwindow.h"
#include "app/myfiledialog.h"
#include "formats/fileformattkr.h"
#include "view/mapwidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <unistd.h>

namespace
{

// Runs `handle` on the next modal widget (a dialog or message box) once it is shown.
void onNextModal(std::function<void(QWidget*)> handle)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
        }
    });
    timer->start();
}

// Closes the next message box and keeps its text.
void catchMessageBox(QString* text)
{
    onNextModal([text](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            *text = box->text();
            box->done(0);
        }
    });
}

// Records what the save flow hands to the writer.
struct RecordingFormat : FileFormat {
    int calls = 0;
    QString fileName;
    QList<int> selection;
    bool markedOnly = false;
    bool load(QVector<Track>&, const QString&) override { return false; }
    bool save(QVector<Track>, QString& name, QList<int> sel, bool marked) override
    {
        ++calls;
        fileName = name;
        selection = sel;
        markedOnly = marked;
        return true;
    }
};

Track sampleTrack(qint64 start, int points)
{
    Track t;
    t.startTime = start;
    t.fmt = 2;
    for (int i = 0; i < points; ++i) {
        Vec3 p;
        p.lat = 25 + i * 0.01;
        p.lon = 121 + i * 0.01;
        p.time = start + i;
        p.marked = i % 2;
        t.points << p;
    }
    return t;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
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
    void saveWritesWithCurrentSettings();
    void failedSaveKeepsOldFileAndReports_data();
    void failedSaveKeepsOldFileAndReports();
    void openReplacesCollection();
    void failedOpenKeepsCollectionAndReports_data();
    void failedOpenKeepsCollectionAndReports();
    void markedOnlyCheckBox();
    void saveThroughRealDialog();
    void openThroughRealDialog();

private:
    QString archiveWithTracks(int count);
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
};

void TestOpenAndSave::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*.debug=false"));
    QVERIFY(m_settingsDir.isValid() && m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void TestOpenAndSave::init()
{
    QSettings s(QStringLiteral("Veltrona"), QStringLiteral("KV-730"));
    s.clear();
    s.setValue(QStringLiteral("directory"), m_dir.path());
}

QString TestOpenAndSave::archiveWithTracks(int count)
{
    QVector<Track> tracks;
    QList<int> selection;
    for (int i = 0; i < count; ++i) {
        tracks << sampleTrack(1399371630 + 1000 * i, 3 + i);
        selection << i;
    }
    QString name = m_dir.filePath(QStringLiteral("tracks%1.tkx").arg(count));
    return FileFormatTKR().save(tracks, name, selection, false) ? name : QString();
}

void TestOpenAndSave::saveFileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("saved");
    const QString gpx = QStringLiteral("GPX File (*.gpx)");
    QTest::addRow("trip") << "trip" << gpx << "trip.gpx";
    QTest::addRow("trip.gpx") << "trip.gpx" << gpx << "trip.gpx";
    QTest::addRow("Trip.GPX") << "Trip.GPX" << gpx << "Trip.GPX.gpx";
    QTest::addRow("trip.kml") << "trip.kml" << gpx << "trip.kml.gpx";
    QTest::addRow("trip.gpx.old") << "trip.gpx.old" << gpx << "trip.gpx.old.gpx";
    QTest::addRow("tkx") << "day1"
                         << "TKX File (*.tkx)"
                         << "day1.tkx";
    QTest::addRow("kml") << "day1"
                         << "KML File (*.kml)"
                         << "day1.kml";
    QTest::addRow("csv") << "day1"
                         << "CSV File (*.csv)"
                         << "day1.csv";
    QTest::addRow("other filter") << "day1"
                                  << "All (*)"
                                  << "day1";
}

void TestOpenAndSave::saveFileName()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, saved);
    QCOMPARE(MainWindow::saveFileName(typed, filter), saved);
}

void TestOpenAndSave::saveWritesWithCurrentSettings()
{
    MainWindow w;
    w.tracks() = {sampleTrack(1399371630, 2)};
    w.action(QStringLiteral("utcTimeAct"))->trigger();
    w.action(QStringLiteral("milesAct"))->trigger();
    QVERIFY(w.saveFile(m_dir.filePath(QStringLiteral("day1")), QStringLiteral("CSV File (*.csv)"),
                       {0}, false));
    const QList<QByteArray> lines =
        readFile(m_dir.filePath(QStringLiteral("day1.csv"))).split('\n');
    QCOMPARE(lines.value(0),
             QByteArray("Date, Time (UTC), Latitude, Longitude, Altitude (m), Speed (mi/hr)"));
    QCOMPARE(lines.size(), 4);

    QVERIFY(w.saveFile(m_dir.filePath(QStringLiteral("trip.gpx.old")),
                       QStringLiteral("GPX File (*.gpx)"), {0}, false));
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("trip.gpx.old.gpx"))));
}

void TestOpenAndSave::failedSaveKeepsOldFileAndReports_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    QTest::addRow("read-only folder") << "readonly"
                                      << "cannot be written";
    QTest::addRow("folder replaced by a file") << "file"
                                               << "cannot be written";
    QTest::addRow("vanished folder") << "vanished"
                                     << "cannot be written";
    QTest::addRow("unknown extension") << "extension"
                                       << "Unknown file extension";
}

void TestOpenAndSave::failedSaveKeepsOldFileAndReports()
{
    QFETCH(QString, where);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString name = dir.filePath(QStringLiteral("old.gpx"));
    QString filter = QStringLiteral("GPX File (*.gpx)");
    QVERIFY(writeFile(name, "old contents"));
    if (where == QLatin1String("readonly")) {
        if (geteuid() == 0)
            QSKIP("permission bits do not stop root");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (where == QLatin1String("file")) {
        name = dir.filePath(QStringLiteral("old.gpx/inner.gpx"));
    } else if (where == QLatin1String("vanished")) {
        name = dir.filePath(QStringLiteral("gone/new.gpx"));
    } else {
        name = dir.filePath(QStringLiteral("old.gpx.txt"));
        filter = QStringLiteral("All (*)");
    }

    MainWindow w;
    w.tracks() = {sampleTrack(1399371630, 5)};
    QString message;
    catchMessageBox(&message);
    const bool saved = w.saveFile(name, filter, {0}, false);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!saved);
    QVERIFY2(message.contains(QDir::toNativeSeparators(name)), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("old.gpx"))), QByteArray("old contents"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"old.gpx"});
}

void TestOpenAndSave::openReplacesCollection()
{
    MainWindow w;
    w.tracks() = {sampleTrack(1, 1)};
    QVERIFY(w.openFile(archiveWithTracks(3)));
    QCOMPARE(w.tracks().size(), 3);
    QCOMPARE(w.tracks()[2].points.size(), 5);

    if (!w.registry().findFormat(QStringLiteral("x.gpl")))
        QSKIP("no log reader registered");
    const QString log = m_dir.filePath(QStringLiteral("one.gpl"));
    QVERIFY(writeFile(log,
                      "0,2014:05:06-10:20:30,*GPS,2502.1234,N,12130.5678,E,35.2,12.34,0,0\r\n"
                      "0,2014:05:06-10:20:31,@GPS,2502.1244,N,12130.5688,E,35.4,12.34,0,0\r\n"));
    QVERIFY(w.openFile(log));
    QCOMPARE(w.tracks().size(), 1);
    QCOMPARE(w.tracks()[0].points.size(), 2);
}

void TestOpenAndSave::failedOpenKeepsCollectionAndReports_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("reason");
    QTest::addRow("upper-case extension") << "TRACK.GPL" << QByteArray("x") << "Unknown";
    QTest::addRow("not an archive") << "bad.tkx" << QByteArray(200, 'x') << "not a TKX archive";
    QTest::addRow("shorter than a header") << "short.tkx" << QByteArray("VLTR") << "not a TKX";
    QTest::addRow("missing") << "missing.tkx" << QByteArray() << "cannot be read";
    QTest::addRow("export format") << "x.gpx" << QByteArray("<gpx/>") << "cannot be opened";
}

void TestOpenAndSave::failedOpenKeepsCollectionAndReports()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(fileName);
    if (!contents.isEmpty())
        QVERIFY(writeFile(path, contents));

    MainWindow w;
    QVERIFY(w.openFile(archiveWithTracks(2)));
    QString message;
    catchMessageBox(&message);
    QVERIFY(!w.openFile(path));
    QCOMPARE(w.tracks().size(), 2);
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
}

void TestOpenAndSave::markedOnlyCheckBox()
{
    MyFileDialog dialog(nullptr);
    QVERIFY(qobject_cast<QGridLayout*>(dialog.layout()));
    QCheckBox* box = dialog.markedOnlyCheckBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Save marked points only"));
    QVERIFY(!dialog.markedOnly());
    box->setChecked(true);
    QVERIFY(dialog.markedOnly());
}

void TestOpenAndSave::saveThroughRealDialog()
{
    MainWindow w;
    w.tracks() = {sampleTrack(1, 2), sampleTrack(2, 2)};
    w.mapWidget()->updateTrackList();
    auto* recorder = new RecordingFormat;
    w.registry().add(QStringLiteral(".gpx"), recorder);
    QDir sub(m_dir.path());
    QVERIFY(sub.mkpath(QStringLiteral("saved")));
    const QString target = m_dir.filePath(QStringLiteral("saved/trip"));

    bool sawBox = false;
    onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return;
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("markedOnlyCheckBox"));
        sawBox = box != nullptr;
        if (box)
            box->setChecked(true);
        dialog->selectNameFilter(QStringLiteral("GPX File (*.gpx)"));
        dialog->setDirectory(QFileInfo(target).absolutePath());
        dialog->selectFile(target);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    const QList<int> checked = w.mapWidget()->checkedTracks();
    w.action(QStringLiteral("saveAct"))->trigger();

    QVERIFY(sawBox);
    QCOMPARE(recorder->calls, 1);
    QCOMPARE(recorder->fileName, target + QStringLiteral(".gpx"));
    QVERIFY(recorder->markedOnly);
    QCOMPARE(recorder->selection, checked);
    QCOMPARE(w.lastDirectory(), QFileInfo(target).absolutePath());
}

void TestOpenAndSave::openThroughRealDialog()
{
    MainWindow w;
    const QString archive = archiveWithTracks(3);
    onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return;
        dialog->selectFile(archive);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    w.action(QStringLiteral("openAct"))->trigger();
    QCOMPARE(w.tracks().size(), 3);
    QCOMPARE(w.lastDirectory(), QFileInfo(archive).absolutePath());
}

QTEST_MAIN(TestOpenAndSave)
#include "tst_openandsave.moc"
