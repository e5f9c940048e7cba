#include "formats/fileformatgpl.h"
#include "formats/fileformatregistry.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

class FixedSettings : public DisplaySettings
{
public:
    int speedUnit() const override { return 0; }
    int heightUnit() const override { return 0; }
    int timeSwitch() const override { return 0; }
};

} // namespace

class TestFileFormatRegistry : public QObject
{
    Q_OBJECT

private slots:
    void findFormat_data();
    void findFormat();
    void loadThroughRegistry();

private:
    FixedSettings m_settings;
};

void TestFileFormatRegistry::findFormat_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("sameAs"); // "" when nothing is found

    QTest::newRow("log") << "E:/0001.gpl"
                         << ".gpl";
    QTest::newRow("upper-case extension") << "E:/0001.GPL"
                                          << "";
    QTest::newRow("two dots") << "/tmp/day.one.gpx"
                              << ".gpx";
    QTest::newRow("no dot") << "/tmp/track"
                            << "";
    QTest::newRow("dot in a directory only") << "/tmp/a.gpl/track"
                                             << "";
    QTest::newRow("extension only") << ".kml"
                                    << ".kml";
    QTest::newRow("archive") << "x.tkx"
                             << ".tkx";
    QTest::newRow("csv") << "x.csv"
                         << ".csv";
    QTest::newRow("unknown") << "x.txt"
                             << "";
}

void TestFileFormatRegistry::findFormat()
{
    QFETCH(QString, fileName);
    QFETCH(QString, sameAs);
    FileFormatRegistry registry;
    registry.addStandardFormats(&m_settings);
    FileFormat* found = registry.findFormat(fileName);
    if (sameAs.isEmpty()) {
        QCOMPARE(found, nullptr);
    } else {
        QVERIFY(found);
        QCOMPARE(found, registry.findFormat(QStringLiteral("name") + sameAs));
    }
}

void TestFileFormatRegistry::loadThroughRegistry()
{
    FileFormatRegistry registry;
    registry.addStandardFormats(&m_settings);
    QVERIFY(dynamic_cast<FileFormatGPL*>(registry.findFormat(QStringLiteral("a.gpl"))));

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("a.gpl"));
    QFile file(log);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("$KV,2014:05:06-10:20:30,*GPS,2502.1234,N,12130.5678,E,35.2,12.34,0,0\r\n");
    file.close();

    QVector<Track> tracks;
    QVERIFY(registry.load(tracks, log));
    QCOMPARE(tracks.size(), 1);
    QCOMPARE(tracks.at(0).points.size(), 1);

    QVERIFY(!registry.load(tracks, dir.filePath(QStringLiteral("a.GPL"))));
    QVERIFY(!registry.errorString().isEmpty());
    QVERIFY(!registry.load(tracks, dir.filePath(QStringLiteral("missing.gpl"))));
    QVERIFY(!registry.errorString().isEmpty());
    QCOMPARE(tracks.size(), 1);
}

QTEST_GUILESS_MAIN(TestFileFormatRegistry)
#include "tst_fileformatregistry.moc"
