#include "formats/timetext.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QtTest>

namespace
{

QVector<qint64> instants()
{
    QVector<qint64> list;
    QRandomGenerator random(730);
    // Every calendar region of the 32-bit range, including where QDateTime stops using
    // the C library (after 2037) and the leap day of years it maps onto 2037.
    for (qint64 t = 0; t <= 0xffffffffLL; t += 259200 + random.bounded(7200))
        list << t;
    // Every quarter hour across whole years with DST changes in every zone under test.
    for (int year : {2014, 2037, 2038, 2040}) {
        const qint64 from = QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
        const qint64 to = QDateTime(QDate(year + 1, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
        for (qint64 t = from; t < to; t += 900)
            list << t;
    }
    for (qint64 t : {qint64(0), qint64(1), qint64(2145916799), qint64(2145916800),
                     qint64(2147483647), qint64(2147483648), qint64(4294967295),
                     qint64(4294967296) + 1399371630, qint64(-1), qint64(-86400)})
        list << t;
    for (int year : {2040, 2104}) // 29 February after 2037
        for (int hour = 0; hour < 24; ++hour)
            list << QDateTime(QDate(year, 2, 29), QTime(hour, 30), Qt::UTC).toSecsSinceEpoch();
    return list;
}

} // namespace

class TestTimeText : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQDateTime_data();
    void sameAsQDateTime();
    void texts_data();
    void texts();
};

void TestTimeText::sameAsQDateTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    for (const QByteArray& zone : TzSwitch::zones())
        QTest::newRow(zone.isEmpty() ? "(empty)" : zone.constData()) << zone;
}

void TestTimeText::sameAsQDateTime()
{
    QFETCH(QByteArray, zone);
    const QVector<qint64> list = instants();
    TzSwitch tz(zone);
    int mismatches = 0;
    for (qint64 t : list) {
        for (bool local : {false, true}) {
            const QDateTime instant = QDateTime::fromTime_t(quint32(t));
            const QDateTime expected = local ? instant.toLocalTime() : instant.toUTC();
            const QString want = expected.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            const QString got = TimeText::dateTime(TimeText::split(t, local), QStringLiteral(" "));
            if (want != got && ++mismatches < 10)
                qWarning() << t << (local ? "local" : "utc") << want << got;
        }
    }
    QCOMPARE(mismatches, 0);
}

void TestTimeText::texts_data()
{
    QTest::addColumn<qint64>("time");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<QString>("dateTime");
    QTest::newRow("epoch") << qint64(0) << "T"
                           << "1970-01-01"
                           << "00:00:00"
                           << "1970-01-01T00:00:00";
    QTest::newRow("log time") << qint64(1399371630) << " - "
                              << "2014-05-06"
                              << "10:20:30"
                              << "2014-05-06 - 10:20:30";
    QTest::newRow("last") << qint64(4294967295) << ""
                          << "2106-02-07"
                          << "06:28:15"
                          << "2106-02-0706:28:15";
}

void TestTimeText::texts()
{
    QFETCH(qint64, time);
    QFETCH(QString, separator);
    const CalendarTime t = TimeText::split(time, false);
    QTEST(TimeText::date(t), "date");
    QTEST(TimeText::clock(t), "clock");
    QTEST(TimeText::dateTime(t, separator), "dateTime");
}

QTEST_GUILESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
