#include "formats/gpsfilter.h"

#include <QTemporaryDir>
#include <QtTest>

class TestGpsFilter : public QObject
{
    Q_OBJECT

private slots:
    void readSettingFile_data();
    void readSettingFile();
};

void TestGpsFilter::readSettingFile_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<int>("limit");

    QTest::newRow("missing file") << QByteArray() << 1;
    QTest::newRow("no such key") << QByteArray("[General]\nOther=5\n") << 1;
    QTest::newRow("zero") << QByteArray("[General]\nGPS_filter=0\n") << 0;
    QTest::newRow("three") << QByteArray("GPS_filter=3\n") << 3;
    QTest::newRow("300 keeps the low 8 bits") << QByteArray("[General]\nGPS_filter=300\n") << 44;
    QTest::newRow("255 is negative") << QByteArray("[General]\nGPS_filter=255\n") << -1;
    QTest::newRow("negative") << QByteArray("[General]\nGPS_filter=-2\n") << -2;
}

void TestGpsFilter::readSettingFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Setting.ini"));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    GpsFilter::setLimit(77);
    QTEST(int(GpsFilter::readSettingFile(path)), "limit");
    QTEST(int(GpsFilter::limit()), "limit");
}

QTEST_GUILESS_MAIN(TestGpsFilter)
#include "tst_gpsfilter.moc"
