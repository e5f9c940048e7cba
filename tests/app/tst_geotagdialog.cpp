#include "../photofactory.h"
#include "app/geotagdialog.h"
#include "app/mainwindow.h"
#include "dialoganswerer.h"
#include "isolation.h"
#include "formats/photoreader.h"
#include "testsupport.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"

#include <QWebFrame>
#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

// The dialog as the File menu opens it, over the main window's map.
class TestGeotagDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QStringList m_drives;

    static QString js(MainWindow& w, const QString& script)
    {
        return w.mapWidget()->mapPage()->mainFrame()->evaluateJavaScript(script).toString();
    }
    static QString row(GeotagDialog* d, int r)
    {
        auto* table = d->findChild<QTableWidget*>("photoTable");
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c)
            texts << table->item(r, c)->text();
        return texts.join(" | ");
    }

private slots:
    void initTestCase()
    {
        Isolation::mainWindow(m_settingsDir.path(), &m_drives);
        QLoggingCategory::setFilterRules("kv730.*=false");
        const auto photo = [this](const char* name, const char* time) {
            return writeFile(
                m_dir.filePath(name),
                PhotoFactory::make("jpg", {QString("Exif.Photo.DateTimeOriginal=") + time,
                                           "Exif.Photo.OffsetTimeOriginal=+02:00"}));
        };
        QVERIFY(photo("a.jpg", "2014:05:06 12:20:35") && photo("b.jpg", "2014:05:06 12:21:00") &&
                writeFile(m_dir.filePath("c.jpg"), "not a photo"));
    }

    void geotagFromTheWindow()
    {
        MainWindow w;
        w.show();
        QTRY_COMPARE(js(w, "connected && photosConnected"), QString("true"));
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

        dialog->addPhotos({m_dir.path(), m_dir.filePath("a.jpg")});
        QCOMPARE(dialog->photos().size(), 3);
        QCOMPARE(row(dialog, 0),
                 QString("a.jpg | 2014-05-06 12:20:35 +02:00 | 2014-05-06 10:20:35 | "
                         "25.050000, 121.100000, 15.0 m"));
        QVERIFY(row(dialog, 1).startsWith("b.jpg | 2014-05-06 12:21:00 +02:00 | 2014-05-06 "
                                          "10:21:00 | Taken after the last track point"));
        QCOMPARE(row(dialog, 2),
                 QString("c.jpg |  |  | This is not a photo, or not of a known kind."));
        // The table follows the settings at once: a clock 30 s fast, then a 4 s gap at most.
        dialog->findChild<QSpinBox*>("clockErrorSpin")->setValue(30);
        QVERIFY(row(dialog, 0).endsWith(
            "Taken before the first track point (2014-05-06 10:20:30 UTC)."));
        QVERIFY(row(dialog, 1).endsWith("10:20:30 | 25.000000, 121.000000, 10.0 m"));
        dialog->findChild<QSpinBox*>("clockErrorSpin")->setValue(0);
        dialog->findChild<QSpinBox*>("maxGapSpin")->setValue(4);
        QVERIFY(row(dialog, 0).endsWith("(largest allowed: 4 s)."));
        dialog->findChild<QSpinBox*>("maxGapSpin")->setValue(60);

        // One marker with its thumbnail; a click on the row opens it.
        QTRY_COMPARE(js(w, "Object.keys(photoMarkers).join()"), QString("0"));
        QCOMPARE(js(w, "photoMarkers[0].getPopup().getContent().firstChild.src.substr(0, 23)"),
                 QString("data:image/jpeg;base64,"));
        dialog->findChild<QTableWidget*>("photoTable")->setCurrentCell(0, 0);
        // Centred on it, then panned by the popup as far as that needs.
        QCOMPARE(js(w, "photoMarkers[0].isPopupOpen() + ' ' + "
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
        QVERIFY(PhotoReader::read(m_dir.filePath("a.jpg")).hasPosition);
        QVERIFY(row(dialog, 0).endsWith("(the photo has a position already and is left as it is)"));

        dialog->close();
        QTRY_COMPARE(js(w, "Object.keys(photoMarkers).length"), QString("0"));
    }
};

QTEST_MAIN(TestGeotagDialog)
#include "tst_geotagdialog.moc"
