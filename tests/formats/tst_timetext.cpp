#include "formats/timetext.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QtTest>

class TestTimeText : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQDateTime_data() { TzSwitch::addZoneRows(); }
    void sameAsQDateTime()
    {
        QFETCH(QByteArray, zone);
        QVector<qint64> list;
        QRandomGenerator random(730);
        // The whole 32-bit range, including where QDateTime stops using the C library
        // (after 2037); every quarter hour of years with DST changes; 29 February after 2037.
        for (qint64 t = 0; t <= 0xffffffffLL; t += 259200 + random.bounded(7200))
            list << t;
        for (int year : {2014, 2037, 2038, 2040})
            for (QDateTime t(QDate(year, 1, 1), QTime(0, 0), Qt::UTC); t.date().year() == year;
                 t = t.addSecs(900))
                list << t.toSecsSinceEpoch();
        for (int year : {2040, 2104})
            for (int hour = 0; hour < 24; ++hour)
                list << QDateTime(QDate(year, 2, 29), QTime(hour, 30), Qt::UTC).toSecsSinceEpoch();
        // Only the low 32 bits count, as with QDateTime::fromTime_t.
        list << 2147483647 << 2147483648 << 4294967295 << 4294967296 + 1399371630 << -1 << -86400;
        TzSwitch tz(zone);
        int mismatches = 0;
        for (qint64 t : list) {
            for (bool local : {false, true}) {
                const QDateTime instant = QDateTime::fromTime_t(quint32(t));
                const QString want = (local ? instant.toLocalTime() : instant.toUTC())
                                         .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
                const QString got = TimeText::dateTime(TimeText::split(t, local), " ");
                if (want != got && ++mismatches < 10)
                    qWarning() << t << (local ? "local" : "utc") << want << got;
            }
        }
        QCOMPARE(mismatches, 0);
    }

    void texts()
    {
        const CalendarTime t = TimeText::split(4294967295, false);
        QCOMPARE(TimeText::date(t), QStringLiteral("2106-02-07"));
        QCOMPARE(TimeText::clock(t), QStringLiteral("06:28:15"));
        QCOMPARE(TimeText::dateTime(TimeText::split(1399371630, false), " - "),
                 QStringLiteral("2014-05-06 - 10:20:30"));
    }
};

QTEST_GUILESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
