#include "../device/lockedpath.h"
#include "../formats/tzswitch.h"
#include "../photofactory.h"
#include "../tmpfsmount.h"
#include "app/downloadrun.h"
#include "app/geotagdialog.h"
#include "app/mainwindow.h"
#include "formats/filenamecodec.h"
#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/drivewatcherprivate.h"
#include "device/trackfileheaderdialog.h"
#include "formats/fileformattkr.h"
#include "formats/gpsfilter.h"
#include "isolation.h"
#include "photos/photoreader.h"
#include "testsupport.h"
#include "view/filterdialog.h"
#include "view/googlemapoperator.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"
#include "view/playbackthread.h"
#include "view/trackstatistics.h"

#include "view/mapview.h"
#include <QtTest>
#include <QtWidgets>

#include <optional>

using namespace TestSupport;

// Answers the modal dialogs of a flow in the order they are expected: each handler is
// given the active modal widget once it is of the handler's type. A handler is taken off
// the list before it runs, so that dialogs its answer opens are answered by the next ones.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer() { startTimer(5); }
    bool done() const { return m_handlers.isEmpty(); }
    template <typename T> void expect(const std::function<void(T*)>& act)
    {
        m_handlers << Handler{[](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                              [act](QWidget* w) { act(qobject_cast<T*>(w)); }};
    }
    // Records the box's text, informative text and icon, looks at the window behind it
    // (`behind`), then presses the button.
    void expectBox(
        QMessageBox::StandardButton button = QMessageBox::Ok,
        const std::function<void()>& behind = [] {})
    {
        expect<QMessageBox>([this, button, behind](QMessageBox* box) {
            behind();
            boxes << box->text() + (box->informativeText().isEmpty() ? "" : "\n") +
                         box->informativeText();
            icons << box->icon();
            titles << box->windowTitle(); // empty: the box would be titled with the program's name
            box->button(button)->click();
        });
    }

    QStringList boxes;
    QList<QMessageBox::Icon> icons;
    QStringList titles;

private:
    struct Handler {
        std::function<bool(QWidget*)> matches;
        std::function<void(QWidget*)> act;
    };
    void timerEvent(QTimerEvent* event) override
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || m_handlers.isEmpty() || !m_handlers.first().matches(w))
            return;
        const Handler handler = m_handlers.takeFirst();
        // A timer does not fire inside its own handler: a new one serves the nested dialogs.
        killTimer(event->timerId());
        startTimer(5);
        handler.act(w);
    }
    QList<Handler> m_handlers;
};

// `count` logger lines from 10:<minute>:10 on 6 May of `year`, one second and 10 km/h apart,
// the first one marked.
static QByteArray logLines(int year, int minute, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QString::asprintf(
                    "1,%d:05:06-10:%02d:%d,%cGPS,2502.%d,N,12130.5678,E,35.2,%d.00,0,0\r\n", year,
                    minute, 10 + i, i ? '*' : '@', 1000 + i, 10 * (i + 1))
                    .toLatin1();
    return text;
}

// The TKX form of a collection: two collections are the same when these bytes are.
static QByteArray tkx(const QVector<Track>& tracks)
{
    QTemporaryDir dir;
    QString name = dir.filePath("t.tkx");
    QList<int> all;
    for (int i = 0; i < tracks.size(); ++i)
        all << i;
    return FileFormatTKR().save(tracks, name, all, false) ? readFile(name) : QByteArray("-");
}

// speedUnit, heightUnit and timeSwitch, then the check marks of miles, feet and UTC time.
static QString unitState(const MainWindow& w)
{
    return QString::asprintf("%d%d%d %d%d%d", w.speedUnit(), w.heightUnit(), w.timeSwitch(),
                             w.action("milesAct")->isChecked(), w.action("feetAct")->isChecked(),
                             w.action("utcTimeAct")->isChecked());
}

// The real main window, driven as a user would through whole journeys, one data row each.
class TestJourneys : public QObject
{
    Q_OBJECT

    void step(const QString& name);
    void pollDrives() { m_w->driveWatcher()->privateObject()->parseDeviceInfo(); }
    void chooseFile(const QString& path, const QString& filter = QString())
    {
        m_answers->expect<QFileDialog>([path, filter](QFileDialog* dialog) {
            if (!filter.isEmpty())
                dialog->selectNameFilter(filter);
            dialog->setDirectory(QFileInfo(path).absolutePath());
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
    }
    // Several files at once, as typed into the name field; records the dialog's filters.
    void chooseFiles(const QStringList& paths, QStringList* filters = nullptr)
    {
        m_answers->expect<QFileDialog>([paths, filters](QFileDialog* dialog) {
            if (filters)
                *filters = dialog->nameFilters();
            dialog->setDirectory(QFileInfo(paths.first()).absolutePath());
            QStringList names;
            for (const QString& path : paths)
                names << '"' + QFileInfo(path).fileName() + '"';
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(names.join(' '));
            // The names typed count, not those the list may have selected so far.
            for (auto* view : dialog->findChildren<QAbstractItemView*>())
                if (view->selectionModel())
                    view->selectionModel()->clearSelection();
            QVERIFY(dialog->fileMode() == QFileDialog::ExistingFiles);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
    }
    // What the user sees after tracks were read: those tracks ticked (and no other but
    // `alsoTicked`), the first of them listed, and the map fitted to them after the listing.
    void verifyShown(const QList<int>& read, const QList<int>& alsoTicked = {})
    {
        QList<int> ticked = read + alsoTicked;
        std::sort(ticked.begin(), ticked.end());
        QCOMPARE(m_w->mapWidget()->checkedTracks(), ticked);
        QCOMPARE(m_w->mapWidget()->currentTrackRow(), read.first());
        QCOMPARE(m_w->mapWidget()->listedPoints().size(),
                 m_w->tracks().at(read.first()).points.size());
        double s = 90, w = 180, n = -90, e = -180;
        for (int k : read)
            for (const Vec3& p : m_w->tracks().at(k).points)
                s = qMin(s, p.lat), n = qMax(n, p.lat), w = qMin(w, p.lon), e = qMax(e, p.lon);
        QCOMPARE(m_views.value(m_views.size() - 1),
                 QString::asprintf("fit %.5f %.5f %.5f %.5f", s, w, n, e));
    }
    // The sizes of the docks, the map and the point list.
    QString layout()
    {
        return QString::asprintf("dock %d map %d points %d", dock("profileDock")->height(),
                                 m_w->mapWidget()->findChild<MapView*>("webView")->height(),
                                 m_w->mapWidget()->findChild<QTreeView*>("treeWidget_2")->height());
    }
    // Ticks every file of the logger (or none) and applies, after `before`.
    void select(bool all, const std::function<void()>& before = {})
    {
        m_answers->expect<TrackFileHeaderDialog>([all, before](TrackFileHeaderDialog* dialog) {
            if (before)
                before();
            dialog->rootItem()->setCheckState(0, all ? Qt::Checked : Qt::Unchecked);
            dialog->Apply();
        });
    }
    void trigger(const char* action)
    {
        m_w->action(action)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(m_answers->done(), 20000);
    }
    QTreeWidgetItem* trackRoot()
    {
        return m_w->mapWidget()->findChild<QTreeWidget*>("treeWidget")->topLevelItem(0);
    }
    static QString pageJs(MainWindow& w, const QString& script)
    {
        return w.mapWidget()->mapPage()->evaluate(script).toString();
    }
    static QString photoRow(GeotagDialog* d, int r)
    {
        auto* table = d->findChild<QTableWidget*>("photoTable");
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c)
            texts << table->item(r, c)->text();
        return texts.join(" | ");
    }
    QDockWidget* dock(const char* name) { return m_w->findChild<QDockWidget*>(name); }
    // The message of a download that ended at `file`.
    QString failure(const char* text, const QString& file, const QString& reason, int left)
    {
        return QString("%1\nThe track file %2 could not be downloaded: %3.")
                   .arg(text, QDir::toNativeSeparators(file), reason) +
               (left ? QString("\n%1 further track file(s) were not downloaded.").arg(left) : "");
    }

    QTemporaryDir m_tmp;
    QString m_logger, m_busy, m_archive, m_out;
    QStringList m_drives;
    QScopedPointer<MainWindow> m_w;
    QScopedPointer<DialogAnswerer> m_answers;
    QStringList m_steps;
    bool m_opened = false; // the collection is the archive, as opened
    QStringList m_views;   // what the map was told to show: "centre", "fit s w n e"
    QString m_layout;      // layout() as the window closed

private slots:
    void initTestCase()
    {
        Isolation::mainWindow(m_tmp.filePath("settings"), &m_drives);
        QLoggingCategory::setFilterRules(QStringLiteral("kv730.*=false"));
        m_archive = m_tmp.filePath("two.tkx");
        Track t{0, 1, {point(25, 121, 0, 1399371630, 1), point(25.1, 121, 0, 1399371631)}};
        QVERIFY(writeFile(m_archive, tkx({t, t})));
    }

    void init()
    {
        m_logger = m_tmp.filePath("logger/"), m_busy = m_tmp.filePath("busy/"),
        m_out = m_tmp.filePath("out/");
        for (const QString& dir : {m_logger, m_busy, m_out})
            QVERIFY(QDir(dir).removeRecursively() && QDir().mkpath(dir));
        for (const QString& drive : {m_logger, m_busy})
            QVERIFY(writeFile(drive + "kv730.ini", "Data Logger = Position:G-Sensor\r\n"));
        QVERIFY(writeFile(m_logger + "a.gpl", logLines(2016, 1, 3)));
        QVERIFY(writeFile(m_logger + "b.GPL", logLines(2015, 2, 2)));
        QVERIFY(writeFile(m_logger + "c.gpl", "no usable line\r\n"));
        // Points, then zeros that take the worker a second to read (a.gpl) or far longer than
        // the test may take (z.gpl, 1 TB).
        for (const QString name : {"a.gpl", "z.gpl"}) {
            QFile f(m_busy + name);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(logLines(2016, 1, 3)) > 0);
            QVERIFY(f.resize(name == "a.gpl" ? 1LL << 28 : 1LL << 40));
        }
        QSettings("Veltrona", "KV-730").clear();
        m_answers.reset(new DialogAnswerer);
        m_opened = false;
        m_views.clear();
        m_layout.clear();
    }

    void cleanup()
    {
        m_w.reset();
        m_drives.clear();
        QDir(DeviceKV310::backupRoot()).removeRecursively();
        // Every message of every journey says what it is about.
        QVERIFY2(!m_answers->titles.contains(QString()), qPrintable(m_answers->boxes.join('\n')));
    }

    void journey_data() { addTable("window/journeys.txt", {"steps"}); }
    void journey()
    {
        QFETCH(QString, steps);
        m_steps = steps.split(' ');
        while (!m_steps.isEmpty() && !QTest::currentTestFailed())
            step(m_steps.takeFirst());
    }

    void settingsFilesAtConstruction_data()
    {
        addTable("window/settings.txt", {"user", "setting", "limit", "units"});
    }
    // Whatever the two files hold, the window starts and writes its settings back.
    void settingsFilesAtConstruction()
    {
        const auto bytes = [](const QString& text) {
            const QStringList random = text.chopped(1).split(' ');
            return text.startsWith("<random ") ? randomBytes(random[2].toInt(), random[1].toUInt())
                                               : QByteArray::fromPercentEncoding(text.toLatin1());
        };
        QFETCH(QString, user);
        QFETCH(QString, setting);
        QTemporaryDir dir;
        if (setting != "<none>")
            QVERIFY(writeFile(dir.filePath("Setting.ini"), bytes(setting)));
        if (user != "<none>")
            QVERIFY(writeFile(QSettings("Veltrona", "KV-730").fileName(), bytes(user)));
        const QString previous = QDir::currentPath();
        GpsFilter::setLimit(99);
        QVERIFY(QDir::setCurrent(dir.path()));
        {
            MainWindow w;
            QDir::setCurrent(previous);
            QFETCH(QString, units);
            if (!units.isEmpty())
                QCOMPARE(unitState(w), units);
            w.close();
        }
        QFETCH(QString, limit);
        if (!limit.isEmpty())
            QCOMPARE(int(GpsFilter::limit()), limit.toInt());
        QCOMPARE(QSettings("Veltrona", "KV-730").status(), QSettings::NoError);
    }

    // A file whose name is no UTF-8 text (written on another system) opens as any other.
    void nameFromAnotherSystem()
    {
        SKIP_UNLESS_POSIX(true);
        FileNameCodec::install(); // as the program does at its start
        m_w.reset(new MainWindow);
        const QString name = m_out + "bad" + QChar(0xdcff) + ".gpl";
        QVERIFY(QFile::copy(KV730_TEST_DATA "/converter/a.gpl", name));
        QCOMPARE(QFile::encodeName(name).right(8), QByteArray("bad\xff.gpl"));
        QVERIFY(m_w->openFiles({name}));
        QCOMPARE(m_w->tracks().size(), 1);
    }

    void saveFileName_data() { addTable("window/savenames.txt", {"typed", "filter", "saved"}); }
    void saveFileName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QTEST(MainWindow::saveFileName(typed, filter), "saved");
    }

    void failureReportedAndNothingLost_data()
    {
        addTable("window/failures.txt", {"name", "contents", "reason"});
    }
    // A failed save leaves the old file as it was, a failed open keeps the tracks, and both
    // say why.
    void failureReportedAndNothingLost()
    {
        QFETCH(QString, name);
        QFETCH(QString, contents);
        const QString row = QTest::currentDataTag();
        QTemporaryDir tmp;
        std::optional<TmpfsMount> tmpfs;
        if (row.contains("full drive")) {
            tmpfs.emplace(tmp.filePath("full"), 64);
            if (!tmpfs->isMounted())
                QSKIP(qPrintable(tmpfs->reason()));
        }
        SKIP_UNLESS_POSIX(row.contains("size limit"));
        const QDir dir(tmpfs ? tmpfs->path() : tmp.path());
        QVERIFY(writeFile(dir.filePath("old.gpx"), "old contents"));
        const bool save = contents == "<save>", opened = !save && contents != "<none>";
        if (opened)
            QVERIFY(writeFile(dir.filePath(name), contents == "<damaged>"
                                                      ? readFile(m_archive).chopped(48)
                                                      : contents.toUtf8()));
        if (tmpfs)
            tmpfs->fill();
        m_w.reset(new MainWindow);
        QVERIFY(m_w->openFile(m_archive));
        if (row.contains("size limit")) // some 200 kB of GPX
            m_w->tracks()[0].points.fill(point(25, 121, 0, 1399371630, 1), 2000);
        m_answers->expectBox();
        bool done;
        {
            LockedPath lock(row.contains("read-only") ? dir.path() : QString());
            if (row.contains("read-only") && !lock.isLocked())
                QSKIP("cannot make a folder read-only here");
            const QString path = dir.filePath(name);
            const auto act = [&] {
                done = save ? m_w->saveFile(path,
                                            name.endsWith(".txt") ? "All (*)" : "GPX File (*.gpx)",
                                            {0}, false)
                            : m_w->openFile(path);
            };
            row.contains("size limit") ? withFileSizeLimit(64 * 1024, act) : act();
        }
        QCOMPARE(done, name == "CUT.TKX");
        QCOMPARE(m_w->tracks().size(), 2);
        QTRY_VERIFY(m_answers->done());
        const QString message = m_answers->boxes.value(0);
        QFETCH(QString, reason);
        QVERIFY2(message.contains(QDir::toNativeSeparators(dir.filePath(name))) &&
                     message.contains(reason),
                 qPrintable(message));
        QCOMPARE(readFile(dir.filePath("old.gpx")), QByteArray("old contents"));
        QStringList expected = {"old.gpx"}; // and no temporary file
        if (opened)
            expected << name;
        if (tmpfs)
            expected << "filler";
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(entries(dir.path()), expected);
    }

    void openFailuresInOneBox_data()
    {
        addTable("window/openfailures.txt", {"missing", "damaged", "text"});
    }
    // One box at the end, whatever the number of failures: the first ten and a count, all
    // of them under Details; what could be read is opened.
    void openFailuresInOneBox()
    {
        const int missing = field("missing").toInt(), damaged = field("damaged").toInt();
        QTemporaryDir dir;
        QStringList files{m_archive};
        for (int i = 0; i < missing + damaged; ++i)
            files << dir.filePath(QString("f%1.tkx").arg(i));
        for (int i = missing; i < missing + damaged; ++i)
            QVERIFY(writeFile(files.at(1 + i), readFile(m_archive).chopped(48)));
        m_w.reset(new MainWindow);
        QString details;
        m_answers->expect<QMessageBox>([&](QMessageBox* box) {
            details = box->detailedText();
            m_answers->expectBox(); // a second box, if any, is counted and closed
            m_answers->boxes << box->text() + '\n' + box->informativeText();
            box->accept();
        });
        m_w->openFiles(files);
        QCOMPARE(m_answers->boxes.size(), 1);
        const QStringList lines = m_answers->boxes.first().split('\n');
        QTEST(lines.first(), "text");
        QCOMPARE(lines.size(),
                 1 + qMin(missing + damaged, 10) + (missing + damaged > 10) + (missing && damaged));
        QVERIFY(lines.value(1).contains(QDir::toNativeSeparators(files.at(1))) || damaged);
        QCOMPARE(details.split('\n').size(), missing + damaged);
        QCOMPARE(m_w->tracks().size(), 2 * (1 + damaged));
    }

    void geotagFromTheWindow()
    {
        const auto photo = [this](const char* name, const char* time) {
            return writeFile(
                m_out + name,
                PhotoFactory::make("jpg", {QString("Exif.Photo.DateTimeOriginal=") + time,
                                           "Exif.Photo.OffsetTimeOriginal=+02:00"}));
        };
        QVERIFY(photo("a.jpg", "2014:05:06 12:20:35") && photo("b.jpg", "2014:05:06 12:21:00") &&
                writeFile(m_out + "c.jpg", "not a photo"));
        MainWindow w;
        w.show();
        QTRY_COMPARE(pageJs(w, "connected"), QString("true"));
        // The unticked second track would place b.jpg.
        w.tracks() = {{0, 2, {point(25, 121, 10, 1399371630), point(25.1, 121.2, 20, 1399371640)}},
                      {0, 2, {point(1, 2, 3, 1399371660)}}};
        w.mapWidget()->updateTrackList();
        w.findChild<QTreeWidget*>("treeWidget")
            ->topLevelItem(0)
            ->child(0)
            ->setCheckState(0, Qt::Checked);
        w.action("geotagAct")->trigger();
        w.action("geotagAct")->trigger();
        QCOMPARE(w.findChildren<GeotagDialog*>().size(), 1);
        GeotagDialog* dialog = w.findChild<GeotagDialog*>();

        dialog->addPhotos({QDir(m_out).path(), QDir(m_out).filePath("a.jpg")});
        QCOMPARE(dialog->photos().size(), 3);
        QCOMPARE(photoRow(dialog, 0),
                 QString("a.jpg | 2014-05-06 12:20:35 +02:00 | 2014-05-06 10:20:35 | "
                         "25.050000, 121.100000, 15.0 m"));
        QVERIFY(photoRow(dialog, 1).startsWith("b.jpg | 2014-05-06 12:21:00 +02:00 | 2014-05-06 "
                                               "10:21:00 | Taken after the last track point"));
        QCOMPARE(photoRow(dialog, 2),
                 QString("c.jpg |  |  | This is not a photo, or not of a known kind."));
        // The table follows the settings at once: a clock 30 s fast, then a 4 s gap at most.
        dialog->findChild<QSpinBox*>("clockErrorSpin")->setValue(30);
        QVERIFY(photoRow(dialog, 0).endsWith(
            "Taken before the first track point (2014-05-06 10:20:30 UTC)."));
        QVERIFY(photoRow(dialog, 1).endsWith("10:20:30 | 25.000000, 121.000000, 10.0 m"));
        dialog->findChild<QSpinBox*>("clockErrorSpin")->setValue(0);
        dialog->findChild<QSpinBox*>("maxGapSpin")->setValue(4);
        QVERIFY(photoRow(dialog, 0).endsWith("(largest allowed: 4 s)."));
        dialog->findChild<QSpinBox*>("maxGapSpin")->setValue(60);

        // One marker with its thumbnail; a click on the row opens it.
        QTRY_COMPARE(pageJs(w, "Object.keys(photoMarkers).join()"), QString("0"));
        QCOMPARE(pageJs(w, "photoMarkers[0].getPopup().getContent().firstChild.src.substr(0, 23)"),
                 QString("data:image/jpeg;base64,"));
        dialog->findChild<QTableWidget*>("photoTable")->setCurrentCell(0, 0);
        // Centred on it, then panned by the popup as far as that needs.
        QCOMPARE(pageJs(w, "photoMarkers[0].isPopupOpen() + ' ' + "
                           "map.getBounds().contains(photoMarkers[0].getLatLng())"),
                 QString("true true"));

        DialogAnswerer answers;
        answers.expectBox();
        QTest::mouseClick(dialog->findChild<QPushButton*>("writeButton"), Qt::LeftButton);
        QVERIFY(answers.done());
        QCOMPARE(answers.boxes.value(0),
                 QString("1 photo(s) tagged.\n1 photo(s) skipped.\n1 photo(s) failed.\n"
                         "b.jpg skipped: Taken after the last track point (2014-05-06 "
                         "10:20:40 UTC).\nc.jpg failed: This is not a photo, or not of a known "
                         "kind."));
        QVERIFY(PhotoReader::read(QDir(m_out).filePath("a.jpg")).hasPosition);
        QVERIFY(photoRow(dialog, 0).endsWith(
            "(the photo has a position already and is left as it is)"));

        dialog->close();
        QTRY_COMPARE(pageJs(w, "Object.keys(photoMarkers).length"), QString("0"));
    }

    void trackFileTicks_data() { addTable("window/ticks.txt", {"clicks", "root", "selected"}); }
    // Ticks pass down from the root and back up from the files; Apply takes the ticked files.
    void trackFileTicks()
    {
        QFETCH(QString, clicks);
        QVector<TrackFileHeader> list(3);
        for (int i = 0; i < 3; ++i)
            list[i].fileIndexes = {i};
        TrackFileHeaderDialog dialog(list, nullptr);
        for (const QChar c : clicks) {
            QTreeWidgetItem* item =
                c == 'r' ? dialog.rootItem() : dialog.rootItem()->child(c.digitValue());
            item->setCheckState(0,
                                item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        QTEST(QString::number(dialog.rootItem()->checkState(0)), "root");
        dialog.findChild<QPushButton*>("applyButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QStringList selected;
        for (int i : dialog.selectedFileIndexes())
            selected << QString::number(i);
        QTEST(selected.join(' '), "selected");
        QCOMPARE(dialog.selectedTracks().size(), dialog.selectedFileIndexes().size());
    }
    void intervalCorrection_data()
    {
        addTable("window/intervals.txt", {"interval", "index", "corrected"});
    }
    void intervalCorrection()
    {
        QFETCH(QString, interval);
        QFETCH(QString, index);
        DeviceConfig config;
        config.gpsInterval = interval.toDouble();
        DeviceSettingDialog dialog(config);
        QTEST(QString::number(config.gpsInterval), "corrected");
        QCOMPARE(dialog.findChild<QComboBox*>("intervalBox")->currentIndex(), index.toInt());
        dialog.findChild<QPushButton*>("applyButton")->click();
        QCOMPARE(dialog.config.gpsInterval, index.toInt() + 1.0);
    }

    // A filter typed in the lists' speed unit keeps the record numbers; Clear Filter lists all.
    void filterAndClear_data()
    {
        addTable("window/listfilters.txt", {"miles", "radio", "typed", "numbers", "status"});
    }
    void filterAndClear()
    {
        const bool miles = field("miles") == "1";
        QFETCH(QString, radio);
        QFETCH(QString, typed);
        // (2502.1004 would truncate to the position before it and give speed 0)
        QVERIFY(
            writeFile(m_out + "five.gpl", logLines(2016, 1, 5).replace("2502.1004", "2502.1104")));
        step("start");
        QVERIFY(m_w->openFiles({m_out + "five.gpl"}));
        m_w->action(miles ? "milesAct" : "kilometersAct")->trigger();
        QTreeWidgetItem* item = trackRoot()->child(0);
        item->treeWidget()->setCurrentItem(item);
        m_w->mapWidget()->TreeWidgetItemDoubleClicked(item, 0);
        const auto numbers = [this] {
            QStringList texts;
            const auto* model =
                m_w->mapWidget()->findChild<QAbstractItemView*>("treeWidget_2")->model();
            for (int row = 0; row < model->rowCount(); ++row)
                texts << model->index(row, 0).data().toString();
            return texts.join(' ');
        };
        QString unit;
        m_answers->expect<FilterDialog>([&](FilterDialog* dialog) {
            unit = dialog->findChild<QLabel*>("unitLabel")->text();
            dialog->findChild<QRadioButton*>(radio)->click();
            QTest::keyClicks(dialog->findChild<QLineEdit*>("lineEdit"), typed);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QVERIFY(!m_w->action("clearFilterAct")->isEnabled());
        trigger("filterAct");
        QCOMPARE(unit, QString(miles ? "mi/hr" : "km/hr"));
        QTEST(numbers(), "numbers");
        QTEST(m_w->findChild<QLabel*>("filterStatus")->text(), "status");
        m_w->action("clearFilterAct")->trigger();
        QCOMPARE(numbers(), QString("1* 2 3 4 5"));
        QVERIFY(m_w->findChild<QLabel*>("filterStatus")->isHidden());
        QVERIFY(!m_w->action("clearFilterAct")->isEnabled());
    }

    // The track list names a track by its first point, in the chosen time, as its figures do.
    void trackTimes()
    {
        const TzSwitch zone("Australia/Adelaide"); // 9:30 ahead of UTC in May
        // The first dated line gives no point (its tag is wrong).
        QByteArray log = logLines(2016, 0, 3);
        log.replace("10:00:10,@GPS", "10:00:00,$GPS").replace("10:00:11", "10:00:05");
        QVERIFY(writeFile(m_out + "walk.gpl", log));
        step("start");
        QVERIFY(m_w->openFiles({m_out + "walk.gpl"}));
        for (const char* act : {"localTimeAct", "utcTimeAct"}) {
            m_w->action(act)->trigger();
            QTreeWidgetItem* track = trackRoot()->child(0);
            QCOMPARE(track->text(0),
                     act[0] == 'l' ? "1. 2016-05-06 - 19:30:05" : "1. 2016-05-06 - 10:00:05");
            QVERIFY2(track->toolTip(0).contains("\nStart: " + track->text(0).mid(3) + '\n'),
                     qPrintable(track->toolTip(0)));
        }
    }

    // The program as a user starts it, without a display: help and version are printed, a
    // mistaken option is reported ("!": in standard error, exit status 1).
    void commandLine_data()
    {
        addTable("window/commandline.txt", {"arguments", "rules", "output"});
    }
    void commandLine()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, rules);
        QFETCH(QString, output);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LOGGING_CONF"})
            env.remove(name);
        env.insert("QT_LOGGING_RULES", rules);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(KV730_BINARY_DIR "/kv730", arguments.split(' '));
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const bool mistaken = output.startsWith('!');
        const QByteArray errors = process.readAllStandardError();
        QCOMPARE(process.exitCode(), mistaken ? 1 : 0);
        if (mistaken)
            QVERIFY2(errors.contains(output.mid(1).toUtf8()), errors.constData());
        else
            QVERIFY(QString(process.readAllStandardOutput())
                        .startsWith(output == "<version>" ? "kv730 " KV730_VERSION "\n" : output));
        QCOMPARE(errors.contains("kv730.app:"), !rules.isEmpty());
    }

    void translator_data()
    {
        addTable("window/languages.txt",
                 {"locale", "file", "fileMenu", "qtCancel", "warning", "units"});
    }
    // The tool's language, Qt's own texts in it, and no text cut off by a widget too small.
    void translator()
    {
        QFETCH(QString, locale);
        QTranslator translator;
        QVERIFY(MainWindow::loadTranslator(translator, locale));
        QTEST(translator.filePath(), "file");
        // An empty translator (zh_TW) is loaded but not taken by the application.
        QCOMPARE(QCoreApplication::installTranslator(&translator), locale != "zh_TW");
        QTEST(QCoreApplication::translate("MainWindow", "WARNGING"), "warning");
        {
            MainWindow window;
            QTEST(window.menuBar()->actions().value(0)->text(), "fileMenu");
            QCOMPARE(window.windowTitle(), QString("KV-730 S-OPC-41-1807041 (" KV730_VERSION ")"));
            // In every language: an accelerator in every menu title, and the usual keys.
            QString keys;
            for (QAction* menu : window.menuBar()->actions())
                keys += menu->text().contains('&') ? QString() : menu->text() + " has none, ";
            for (const char* action : {"openAct", "saveAct", "exitAct", "aboutAct"})
                keys += window.action(action)->shortcut().toString() + ' ';
            QCOMPARE(keys, QString("Ctrl+O Ctrl+S Ctrl+Q F1 "));
            QVERIFY(!window.findChild<QProgressDialog*>()->windowTitle().isEmpty());
            FilterDialog filter;
            DeviceConfig config;
            DeviceSettingDialog settings(config);
            QVector<TrackFileHeader> headers(2);
            TrackFileHeaderDialog files(headers, nullptr);
            QVERIFY(!files.windowTitle().isEmpty() && !settings.windowTitle().isEmpty());
            QStringList clipped;
            for (QWidget* shown :
                 std::initializer_list<QWidget*>{&window, &filter, &settings, &files}) {
                shown->show();
                QVERIFY(QTest::qWaitForWindowExposed(shown));
                for (const QWidget* w : shown->findChildren<QWidget*>()) {
                    const QSize hint = w->sizeHint(); // Qt's own parts are sized by the style
                    if (w->isVisible() &&
                        (w->inherits("QLabel") || w->inherits("QAbstractButton")) &&
                        !w->objectName().startsWith("qt_") &&
                        (w->width() < hint.width() || w->height() < hint.height()))
                        clipped << w->objectName() + " " + w->metaObject()->className();
                }
            }
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
        }
        // The unit names are those of the point list in every language.
        QStringList values;
        const Track track{
            0, 2, {point(25, 121, 10, 0, 0, 1000), point(25.01, 121, 20, 60, 1, 2000)}};
        for (const auto& row : TrackStatistics::compute(track).rows(1, 1, 0))
            values << row.second;
        QFETCH(QString, units);
        const QStringList unit = units.split(' '); // speed, height
        QCOMPARE(values
                     .filter(QRegularExpression(" (" + QRegularExpression::escape(unit.at(0)) +
                                                "|" + unit.at(1) + "|mi)$"))
                     .size(),
                 6);
        QCoreApplication::removeTranslator(&translator);

        QFETCH(QString, qtCancel);
        QTranslator qtTranslator;
        const QString qtFile =
            QLibraryInfo::location(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm";
        if (!qtCancel.isEmpty() && !QFile::exists(qtFile))
            QSKIP("Qt's translations are not installed (qttranslations5-l10n)");
        QCOMPARE(MainWindow::loadQtTranslator(qtTranslator, translator), !qtCancel.isEmpty());
        if (qtCancel.isEmpty())
            return;
        QCOMPARE(qtTranslator.translate("QPlatformTheme", "Cancel"), qtCancel);
        // The save flow recognises the chosen filter by comparing it with the single ones.
        auto tr = [&translator](const char* text) {
            return translator.translate("MainWindow", text);
        };
        QCOMPARE(tr("TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)")
                     .split(";;"),
                 (QStringList{tr("TKX File (*.tkx)"), tr("GPX File (*.gpx)"),
                              tr("KML File (*.kml)"), tr("CSV File (*.csv)")}));
        for (const char* language : {"ja_JP", "en_US"}) {
            const QByteArray ts =
                readFile(KV730_TEST_DATA "/../../resources/translate/" + QString(language) + ".ts");
            QVERIFY(ts.count("<message") > 100);
            QCOMPARE(ts.count("<translation>"),
                     ts.count("<message")); // none unfinished or obsolete
            QVERIFY(!ts.contains("<translation></translation>"));
        }
    }

    // Points come in order; a speed change applies while playing; a stop ends without playEnd.
    void playChangeSpeedStop()
    {
        PlaybackThread::setTimeScale(1.0 / 50);
        PlaybackThread thread;
        thread.setSpeed(3); // out of range: the first step stays
        QCOMPARE(thread.interval(), 750 / 50);
        thread.setPointCount(1000);
        QList<int> shown;
        bool ended = false;
        connect(&thread, &PlaybackThread::currentPoint, this, [&](int i) { shown << i; });
        connect(&thread, &PlaybackThread::playEnd, this, [&] { ended = true; });
        thread.start();
        QTRY_VERIFY(shown.size() >= 2);
        thread.setSpeed(2);
        QCOMPARE(thread.interval(), 250 / 50);
        QTRY_VERIFY(shown.size() >= 4);
        thread.stop();
        QVERIFY(thread.isFinished());
        QCoreApplication::processEvents();
        QVERIFY(!ended);
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(shown.at(i), i);

        // Pauses of over three hours: a stop in the middle of one ends it at once (else stop()
        // would not return before the test's time-out), and the end follows the last point
        // without a pause after it.
        PlaybackThread::setTimeScale(15000);
        PlaybackThread slow;
        slow.setPointCount(3);
        int slowShown = 0;
        connect(&slow, &PlaybackThread::currentPoint, this, [&] { ++slowShown; });
        slow.start();
        QTRY_COMPARE(slowShown, 1);
        slow.stop();
        QVERIFY(slow.isFinished());
        PlaybackThread one;
        one.setPointCount(1);
        one.start();
        QVERIFY(one.wait(60000));
        PlaybackThread::setTimeScale(1);
    }
};

// Each step does what a user does and checks what a user can see.
void TestJourneys::step(const QString& name)
{
    if (name == "start" || name == "restart") {
        m_w.reset(); // the previous window goes first, as at the end of the program
        m_w.reset(new MainWindow);
        GoogleMapOperator* map = m_w->mapWidget()->mapOperator();
        connect(map, &GoogleMapOperator::setCenter, m_w.data(), [this] { m_views << "centre"; });
        connect(map, &GoogleMapOperator::fitBounds, m_w.data(),
                [this](double s, double w, double n, double e) {
                    m_views << QString::asprintf("fit %.5f %.5f %.5f %.5f", s, w, n, e);
                });
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.data()));
        if (name == "restart") { // what the last session chose, the docks' layout too
            QVERIFY(m_w->action("milesAct")->isChecked() &&
                    m_w->lastDirectory() == QDir(m_out).absolutePath());
            QVERIFY(dock("statisticsDock")->isHidden() && !dock("profileDock")->isHidden());
            // Laid out as it was saved, not a little more to the docks at each start.
            QTRY_COMPARE(layout(), m_layout);
            return;
        }
        // No stored geometry: maximised on the offscreen screen of 800 x 600, where the
        // tabbed docks leave the height to the map.
        QVERIFY(m_w->windowState() & Qt::WindowMaximized);
        QCOMPARE(m_w->tabifiedDockWidgets(dock("statisticsDock")),
                 QList<QDockWidget*>{dock("profileDock")});
        QTRY_VERIFY(dock("profileDock")->height() <= m_w->height() / 4);
        QVERIFY(m_w->height() <= 600);
        const auto* view = m_w->mapWidget()->findChild<MapView*>("webView");
        QTRY_VERIFY2(view->height() >= m_w->height() / 2, qPrintable(layout()));
        QVERIFY(
            m_w->findChild<QSlider*>("speedSlider")->isVisible()); // not behind the tool bar's ">>"
    } else if (name == "early" || name.startsWith("plug:")) {
        // "early": mounted after the window looked at the drives, before the watcher started.
        const QString drive = name == "early" ? m_logger : m_tmp.filePath(name.mid(5) + "/");
        if (name != "early") // the watcher runs before the logger comes
            QVERIFY(QMetaObject::invokeMethod(m_w.data(), "your_slot_function"));
        m_drives << drive;
        QVERIFY(QMetaObject::invokeMethod(m_w.data(), "your_slot_function")); // if not running
        pollDrives();
        QCOMPARE(m_w->deviceComboBox()->itemText(m_w->deviceComboBox()->count() - 1), drive);
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else if (name == "download" || name == "nothing") {
        const QByteArray before = tkx(m_w->tracks());
        QList<QStringList> rows; // start, name, size, duration of each file offered
        if (name == "nothing") {
            select(false);
        } else {
            // Every file is ticked already: Apply at once.
            m_answers->expect<TrackFileHeaderDialog>([&rows](TrackFileHeaderDialog* dialog) {
                for (int i = 0; i < dialog->rootItem()->childCount(); ++i) {
                    const QTreeWidgetItem* file = dialog->rootItem()->child(i);
                    rows << QStringList{file->text(1), file->text(2), file->text(3), file->text(4)};
                }
                dialog->findChild<QPushButton*>("applyButton")->click();
            });
        }
        trigger("downloadAct");
        QTRY_VERIFY(!m_w->isDownloadRunning() && m_w->deviceGroup()->isEnabled());
        if (name == "nothing") {
            QCOMPARE(tkx(m_w->tracks()), before);
            return;
        }
        // The file without a dated line starts with its first point; the one without
        // points adds no track.
        QCOMPARE(trackRoot()->childCount(), 2);
        const auto start = [](int year, int minute) {
            return QDateTime(QDate(year, 5, 6), QTime(10, minute, 10), Qt::UTC).toSecsSinceEpoch();
        };
        QCOMPARE(m_w->tracks().at(0).startTime, start(2016, 1));
        QCOMPARE(m_w->tracks().at(1).startTime, start(2015, 2));
        QCOMPARE(m_w->tracks().at(1).points.size(), 2);
        QCOMPARE(m_w->tracks().at(0).points.at(0).marked, 1);
        verifyShown({0, 1});
        // The list named each file, its size and its duration, and gave the start that the
        // downloaded track has.
        QCOMPARE(rows.size(), 3);
        const QStringList names{"a.gpl", "b.GPL", "c.gpl"}, durations{"0:00:02", "0:00:01", ""};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rows.at(i).at(1), names.at(i));
            QVERIFY2(rows.at(i).at(2).startsWith(
                         QString::number(QFileInfo(m_logger + names.at(i)).size()) + ' '),
                     qPrintable(rows.at(i).at(2)));
            QCOMPARE(rows.at(i).at(3), durations.at(i));
        }
        QCOMPARE(rows.at(0).at(0), trackRoot()->child(0)->text(0).mid(3));
        QCOMPARE(rows.at(1).at(0), trackRoot()->child(1)->text(0).mid(3));
    } else if (name == "hold") {
        // The following steps happen while the download goes on, its dialog closed.
        const QStringList during = m_steps;
        m_steps.clear();
        select(true);
        trigger("downloadAct");
        // The progress shows beside the window, which stays usable.
        QTRY_VERIFY(m_w->findChild<QProgressDialog*>()->isVisible() && m_w->isDownloadRunning());
        QVERIFY(!QApplication::activeModalWidget());
        for (const QString& s : during) {
            if (m_w && !QTest::currentTestFailed())
                step(s);
        }
    } else if (name == "open") {
        chooseFile(m_archive);
        trigger("openAct");
        QCOMPARE(tkx(m_w->tracks()), readFile(m_archive));
        QCOMPARE(m_w->statusBar()->currentMessage(), "Opened two.tkx (tracks: 2, points: 4).");
        verifyShown({0, 1});
        m_opened = true;
        if (m_w->isDownloadRunning()) // a read that ends now must not touch what is shown
            QTRY_COMPARE_WITH_TIMEOUT(m_w->downloadRun()->tracks().size(), 1, 30000);
    } else if (name == "save") {
        trackRoot()->setCheckState(0, Qt::Checked);
        const QByteArray expected = m_opened ? readFile(m_archive) : tkx(m_w->tracks());
        int points = 0;
        for (const Track& t : m_w->tracks())
            points += t.points.size();
        for (const QString format : {"TKX", "GPX", "KML", "CSV"}) {
            chooseFile(m_out + "trip", format + " File (*." + format.toLower() + ")");
            trigger("saveAct");
        }
        QCOMPARE(m_w->statusBar()->currentMessage(),
                 QString::asprintf("Saved trip.csv (tracks: %d, points: %d).",
                                   int(m_w->tracks().size()), points));
        QCOMPARE(readFile(m_out + "trip.tkx"), expected);
        QCOMPARE(readFile(m_out + "trip.gpx").count("<trkpt"), points);
        QVERIFY(readFile(m_out + "trip.kml").count("<Placemark") == m_w->tracks().size() &&
                readFile(m_out + "trip.csv").count('\n') > points);
    } else if (name == "reopen") {
        chooseFile(m_out + "trip.tkx");
        trigger("openAct");
        QCOMPARE(tkx(m_w->tracks()), readFile(m_out + "trip.tkx"));
        verifyShown({0, 1});
    } else if (name == "filter" || name == "play") {
        QTreeWidgetItem* item = trackRoot()->child(0);
        item->treeWidget()->setCurrentItem(item);
        m_w->mapWidget()->TreeWidgetItemDoubleClicked(item, 0);
        if (name == "play") {
            QSignalSpy shown(m_w->mapWidget(), &MapWidget::pointShown);
            m_w->action("playAct")->trigger();
            QCOMPARE(m_w->action("playAct")->toolTip(), QStringLiteral("pause"));
            QTRY_VERIFY(shown.count() >= 2); // now inside a pause
            return;
        }
        int faster = 0;
        for (const Vec3& p : m_w->tracks().at(0).points)
            faster += quint32(p.speed) > 1500;
        // Typed at once into the entry; Enter with no usable speed does nothing.
        m_answers->expect<FilterDialog>([](FilterDialog* dialog) {
            QTest::keyClicks(dialog->focusWidget(), "abc");
            QTest::keyClick(dialog, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            QTest::keyClicks(dialog->focusWidget(), "\b\b\b15");
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        trigger("filterAct");
        QCOMPARE(m_w->mapWidget()->listedPoints().size(), faster);
        QCOMPARE(m_w->findChild<QLabel*>("filterStatus")->text(),
                 QString::asprintf("Filter: speed > 15 km/hr (%d of %d points listed)", faster,
                                   int(m_w->tracks().at(0).points.size())));
    } else if (name.startsWith("unplug")) {
        const QString drive = m_tmp.filePath(name.mid(7) + "/");
        if (name != "unplug") { // another logger than the one being read
            m_drives.removeAll(drive);
            pollDrives();
            QVERIFY(m_w->downloadRun() && m_w->downloadRun()->state() == DownloadRun::Reading);
            return;
        }
        // The logger being read is swapped for another one between two polls: by the time
        // the box tells of the failure, the window lists the new one.
        bool listed = false;
        m_answers->expectBox(QMessageBox::Ok,
                             [&] { listed = m_w->deviceComboBox()->findText(m_logger) >= 0; });
        m_drives = QStringList{m_logger};
        pollDrives();
        QTRY_VERIFY(m_answers->done());
        QVERIFY(listed && m_w->deviceGroup()->isEnabled());
        // What was read replaces what was shown; the message names the file and the reason.
        QCOMPARE(m_answers->boxes.last(),
                 failure("Failed connect device.", m_busy + "z.gpl", "the logger was removed", 0));
        QVERIFY(m_w->tracks().size() == 1 && m_w->tracks().at(0).points.size() == 3);
    } else if (name == "gone" || name == "timeout") {
        const QByteArray before = tkx(m_w->tracks());
        m_w->device()->setReadTimeLimit(name == "timeout" ? 1 : 60000);
        select(true, [this] { QFile::remove(m_logger + "b.GPL"); });
        m_answers->expectBox();
        trigger("downloadAct");
        QCOMPARE(m_answers->boxes.join('|'),
                 name == "gone" ? failure("Failed connect device.", m_logger + "b.GPL",
                                          "the file could not be read (no such file)", 1)
                                : failure("Read device data timeout.", m_busy + "a.gpl",
                                          "the logger did not answer within 1 second(s)", 1));
        QVERIFY(m_answers->icons.last() == QMessageBox::Warning && m_w->deviceGroup()->isEnabled());
        QVERIFY(!m_w->findChild<QProgressDialog*>()->isVisible());
        // What was read (a.gpl) replaces what was shown; a run that read nothing leaves it.
        if (name == "gone")
            QCOMPARE(m_w->tracks().size(), 1);
        else
            QCOMPARE(tkx(m_w->tracks()), before);
    } else if (name == "grown") {
        // c.gpl gains points while the list is open, as a logger still recording does: its
        // track starts with its first point, though the list knew no start for it.
        select(true, [this] {
            QFile f(m_logger + "c.gpl");
            QVERIFY(f.open(QIODevice::Append) && f.write(logLines(2017, 3, 2)) > 0);
        });
        trigger("downloadAct");
        QTRY_VERIFY(!m_w->isDownloadRunning() && m_w->deviceGroup()->isEnabled());
        QCOMPARE(m_w->tracks().size(), 3);
        QCOMPARE(m_w->tracks().at(2).startTime,
                 QDateTime(QDate(2017, 5, 6), QTime(10, 3, 10), Qt::UTC).toSecsSinceEpoch());
    } else if (name == "exit") {
        m_w->action("feetAct")->trigger();
        dock("statisticsDock")->toggleViewAction()->trigger();
        QCoreApplication::sendPostedEvents(); // laid out without the hidden dock
        m_layout = layout();
        const bool downloading = m_w->isDownloadRunning();
        if (downloading)
            m_answers->expectBox(QMessageBox::Yes);
        m_w->action("exitAct")->trigger();
        QCOMPARE(m_answers->boxes.contains("A download is going on.\nStop the download and quit?"),
                 downloading);
        QVERIFY(!m_w->isVisible() && !m_w->mapWidget()->isPlaying() && !m_w->isDownloadRunning());
        const QString dir = m_w->lastDirectory();
        const bool miles = m_w->speedUnit() == 1;
        // No thread holds the end of the program: one that waited for the download of
        // z.gpl would not let it end before the test's time-out.
        m_w.reset();
        QSettings settings("Veltrona", "KV-730");
        QVERIFY(settings.contains("geometry") && settings.value("heightUnit").toInt() == 1);
        QCOMPARE(settings.value("speedUnit").toInt(), int(miles));
        QCOMPARE(settings.value("directory").toString(), dir);
    } else if (name == "miles") {
        m_w->action("milesAct")->trigger();
    } else if (name == "drop") {
        // Dragged onto the middle of the map and dropped there, as the window system delivers
        // it: to the window, which finds the widget under the pointer that takes drops.
        auto* view = m_w->mapWidget()->findChild<MapView*>("webView");
        const QPoint at = view->mapTo(m_w.data(), view->rect().center());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(m_archive)});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_w->windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_w->windowHandle(), &dropped);
        QTRY_COMPARE(tkx(m_w->tracks()), readFile(m_archive));
        QCOMPARE(m_w->lastDirectory(), QFileInfo(m_archive).absolutePath());
        verifyShown({0, 1});
        // The page, loaded in its own time on a busy machine, stays the map page.
        QTRY_COMPARE_WITH_TIMEOUT(
            m_w->mapWidget()->mapPage()->evaluate("location.href + connected").toString(),
            GoogleMapPage::pageUrl().toString() + "true", 30000);
    } else if (name == "none") {
        // Nothing is ticked after an open: no file is asked for and nothing is written.
        QVERIFY(writeFile(m_out + "old.gpx", "old contents"));
        trackRoot()->setCheckState(0, Qt::Unchecked);
        QString asked;
        m_answers->expect<QDialog>([&asked](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            asked = box ? box->text() : dialog->metaObject()->className();
            dialog->reject();
        });
        trigger("saveAct");
        QCOMPARE(asked, QString("No track is ticked. Tick the tracks to save in the track list."));
        QCOMPARE(readFile(m_out + "old.gpx"), QByteArray("old contents"));
    } else if (name == "settings") {
        m_answers->expect<DeviceSettingDialog>([](DeviceSettingDialog* dialog) {
            dialog->findChild<QComboBox*>("intervalBox")->setCurrentIndex(2);
            dialog->findChild<QCheckBox*>("powerSavingBox")->setChecked(false);
            dialog->findChild<QPushButton*>("applyButton")->click();
        });
        m_answers->expectBox();
        trigger("deviceSettingAct");
        QCOMPARE(m_answers->boxes, QStringList{"Set device configuration ok."});
        // What the dialog does not show (G-sensor logging) and the file's line ends stay.
        QCOMPARE(readFile(m_logger + "kv730.ini"),
                 QByteArray("Data Logger = Position:G-Sensor\r\nGPS interval = 3\r\n"
                            "Power Saving Mode = Disable\r\nBluetooth Status = Disable\r\n"
                            "Height Limit = Enable\r\nTest Mode = Disable\r\n"));
    } else if (name == "delete") {
        // Asked with a warning, No unless chosen; done on the worker with the progress shown.
        bool warned = false;
        m_answers->expect<QMessageBox>([&warned](QMessageBox* box) {
            warned = box->icon() == QMessageBox::Warning &&
                     box->defaultButton() == box->button(QMessageBox::No);
            box->button(QMessageBox::Yes)->click();
        });
        m_w->action("deleteAct")->trigger();
        QVERIFY(m_answers->done() && warned);
        QVERIFY(m_w->findChild<QProgressDialog*>()->isVisible());
        QVERIFY(!m_w->deviceGroup()->isEnabled());
        m_answers->expectBox();
        QTRY_VERIFY(m_answers->done());
        const QString backup = m_w->device()->lastBackupFolder();
        QCOMPARE(m_answers->boxes.last(), "Delete all track files ok.\nThe track files were "
                                          "copied to " +
                                              QDir::toNativeSeparators(backup) + ".");
        QCOMPARE(QDir(m_logger).entryList(QDir::Files), QStringList{"kv730.ini"});
        QVERIFY(m_w->deviceGroup()->isEnabled());
    } else if (name.startsWith("enter:")) {
        // The key on the second track lists it and ticks it, as a double-click does.
        auto* tree = m_w->mapWidget()->findChild<QTreeWidget*>("treeWidget");
        trackRoot()->setCheckState(0, Qt::Unchecked);
        tree->setCurrentItem(trackRoot()->child(1));
        QSignalSpy listed(m_w->mapWidget(), &MapWidget::pointsListed);
        QTest::keyClick(tree, name.endsWith("Enter") ? Qt::Key_Enter : Qt::Key_Return);
        QVERIFY(listed.count() > 0);
        QCOMPARE(m_w->mapWidget()->checkedTracks(), QList<int>{1});
        QCOMPARE(m_w->mapWidget()->listedPoints().size(), m_w->tracks().at(1).points.size());
    } else if (name == "replace") {
        // "trip" becomes trip.gpx, which is there: the question names it; No keeps it.
        QVERIFY(writeFile(m_out + "trip.gpx", "old contents"));
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            chooseFile(m_out + "trip", "GPX File (*.gpx)");
            m_answers->expectBox(answer);
            if (answer == QMessageBox::No)
                m_answers->expect<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
            trigger("saveAct");
            QCOMPARE(m_answers->boxes.last(),
                     QString("trip.gpx already exists.\nDo you want to replace it?"));
            QCOMPARE(readFile(m_out + "trip.gpx").contains("<trkpt"), answer == QMessageBox::Yes);
        }
        QCOMPARE(m_answers->boxes.size(), 2);
    } else if (name == "typed") {
        // The typed extension of a format written chooses it, in any case; no other is added.
        for (const QStringList& row :
             {QStringList{"typed.gpx", "TKX", "<gpx"}, QStringList{"Upper.KML", "CSV", "<kml"},
              QStringList{"typed.gpl", "CSV", "Date"}}) {
            chooseFile(m_out + row[0], row[1] + " File (*." + row[1].toLower() + ")");
            trigger("saveAct");
            const QString written = row[2] == "Date" ? row[0] + ".csv" : row[0];
            QVERIFY2(readFile(m_out + written).contains(row[2].toUtf8()), qPrintable(written));
        }
        QCOMPARE(entries(m_out).filter("typed.gpx.").size() + entries(m_out).filter("KML.").size(),
                 0);
    } else if (name == "several") {
        // Open takes several files as one collection; Add Files and a drop with Ctrl held
        // add to it, keeping the ticks; all track files are offered together first.
        const QString log = m_tmp.filePath("one.gpl"); // beside the archive
        QVERIFY(writeFile(log, logLines(2016, 3, 4)));
        QStringList filters;
        chooseFiles({m_archive, log}, &filters);
        trigger("openAct");
        QCOMPARE(filters.value(0), "All track files (*.tkx *.csv *.gpx *.kml *.gpl *.nmea)");
        QCOMPARE(m_w->statusBar()->currentMessage(), "Opened 2 files (tracks: 3, points: 8).");
        verifyShown({0, 1, 2});
        trackRoot()->child(1)->setCheckState(0, Qt::Unchecked);
        chooseFiles({log});
        trigger("addFilesAct");
        QCOMPARE(m_w->tracks().size(), 4);
        QCOMPARE(m_w->statusBar()->currentMessage(), "Added one.gpl (tracks: 1, points: 4).");
        verifyShown({3}, {0, 2});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(m_archive), QUrl::fromLocalFile(log)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_w.data(), &enter);
        QDropEvent dropped(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::ControlModifier);
        QCoreApplication::sendEvent(m_w.data(), &dropped);
        QTRY_COMPARE(m_w->tracks().size(), 7);
        verifyShown({4, 5, 6}, {0, 2, 3});
    } else if (name == "cancel") {
        // A first file of 256 MB, then one the worker never finishes: the bar follows the
        // bytes; Cancel ends the run at once and keeps the file read.
        select(true);
        trigger("downloadAct");
        auto* progress = m_w->findChild<QProgressDialog*>();
        QTRY_VERIFY_WITH_TIMEOUT(m_w->downloadRun() && m_w->downloadRun()->tracks().size() == 1,
                                 30000);
        QCOMPARE(progress->labelText(), "Downloading track file 2 of 2...");
        QVERIFY2(progress->value() > 0 && progress->value() < progress->maximum() / 4,
                 qPrintable(QString::number(progress->value())));
        auto* cancel = progress->findChild<QPushButton*>();
        QVERIFY(cancel && cancel->isVisible());
        cancel->click();
        QTRY_VERIFY(!m_w->isDownloadRunning() && m_w->deviceGroup()->isEnabled());
        QVERIFY(!progress->isVisible() && m_answers->boxes.isEmpty());
        QCOMPARE(m_w->tracks().size(), 1);
        verifyShown({0});
    } else if (name == "quit:no") {
        // Ctrl+Q as the window system delivers it, to the progress dialog that has just
        // come up, and to the window: asked each time, No.
        auto* progress = m_w->findChild<QProgressDialog*>();
        for (QWidget* target :
             {static_cast<QWidget*>(progress), static_cast<QWidget*>(m_w.data())}) {
            target->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(target));
            m_answers->expectBox(QMessageBox::No);
            QTest::keyClick(target->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
            QTRY_VERIFY(m_answers->done());
        }
        QCOMPARE(m_answers->boxes.size(), 2);
        QTRY_VERIFY(m_answers->done());
        QCOMPARE(m_answers->boxes.last(), "A download is going on.\nStop the download and quit?");
        QVERIFY(m_w->isVisible() && m_w->isDownloadRunning());
    } else {
        QFAIL(qPrintable("unknown step " + name));
    }
}

#include "maptestmain.h"
KV730_MAP_TEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
