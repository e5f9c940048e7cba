#include "formats/logdatetime.h"
#include "formats/timetext.h"
#include "tzswitch.h"

#include <QtTest>

static QString describe(const LogDateTime& r)
{
    return QString::asprintf("%d %d-%d-%d %d:%d:%d %lld", r.valid, r.year, r.month, r.day, r.hour,
                             r.minute, r.second, static_cast<long long>(r.secs));
}

static QString reference(const QString& field)
{
    QDateTime dt = QDateTime::fromString(field, "yyyy:MM:dd-hh:mm:ss");
    dt.setTimeSpec(Qt::UTC);
    const QDate d = dt.date();
    const QTime t = dt.time();
    return describe({dt.isValid(), d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(),
                     dt.toSecsSinceEpoch()});
}

// Every quarter hour of years with DST gaps on the hour, the half hour and at midnight, of
// years where QDateTime's local-time handling changes (past 2037 it stops using the C
// library), of the year Samoa skipped a day; random instants; 32-bit edges; 29 February 2104.
static const QVector<qint64> instants = [] {
    QVector<qint64> list{2147483647, 2147483648, 4294967295, 4294967296 + 1399371630, -1};
    for (int year : {1970, 2011, 2014, 2038, 2040})
        for (QDateTime t(QDate(year, 1, 1), QTime(0, 0), Qt::UTC); t.date().year() == year;
             t = t.addSecs(900))
            list << t.toSecsSinceEpoch();
    QRandomGenerator random(730);
    for (int i = 0; i < 3000; ++i)
        list << qint64(random.bounded(4.5e9)) - 200000000;
    for (int hour = 0; hour < 24; ++hour)
        list << 4233688200 + 3600 * hour;
    return list;
}();

static const QStringList fields = [] {
    QStringList list;
    for (qint64 t : instants)
        if (t >= 0 && t < 4294967296 && t % 1800 != 0) // :15 and :45, as fewer keep it fast
            list << QDateTime::fromSecsSinceEpoch(t, Qt::UTC).toString("yyyy:MM:dd-hh:mm:ss");
    // Leap days, and malformed or out-of-range fields: every one-character change of a valid one.
    list << QString("2000:02:29-12:00:00|2015:02:29-12:00:00|2100:02:29-12:00:00|2014:5:6-1:2:3|"
                    "14:05:06-10:20:30|2014:03:30-02:00:10|2014:03:30-03:00:10")
                .split('|')
         << QString::fromUtf8("\xd9\xa2\xd9\xa0\xd9\xa1\xd9\xa4:05:06-10:20:30")
         << QString::fromUtf8("2014:05:06-10:20:3\xef\xbc\x90");
    const QString valid = "2014:05:06-10:20:30";
    for (int i = 0; i <= valid.size(); ++i) {
        for (QChar c : QString::fromLatin1("0123456789 :-+.x,\n\xb3"))
            list << QString(valid).insert(i, c) << QString(valid).replace(i, 1, c);
        list << QString(valid).remove(i, 1) << valid.left(i) << valid.left(i) + QChar(0) + "0";
    }
    return list;
}();

class TestTimeText : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQDateTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        // Unset, UTC, empty, DST gaps at various hours and sizes, a skipped day, a POSIX rule.
        for (const char* zone : {"(unset)", "UTC", "", "Europe/Berlin", "America/New_York",
                                 "America/Sao_Paulo", "Australia/Lord_Howe", "Pacific/Apia",
                                 "Asia/Tehran", "EST5EDT,M3.2.0,M11.1.0", "right/Europe/Berlin"})
            QTest::newRow(*zone ? zone : "(empty)") << QByteArray(zone);
    }
    void sameAsQDateTime()
    {
        static const QStringList utcExpected = [] { // parseLatin1AsUtc reads as QDateTime in UTC
            TzSwitch utc("UTC");
            QStringList list;
            for (const QString& field : fields)
                list << reference(field);
            return list;
        }();
        QFETCH(QByteArray, zone);
        TzSwitch tz(zone);
        QStringList mismatches;
        for (int i = 0; i < fields.size(); ++i) {
            const QByteArray b = fields[i].toLatin1();
            const bool latin1 = QString::fromLatin1(b) == fields[i];
            QStringList want{reference(fields[i])}, got{describe(LogDateTime::parse(fields[i]))};
            if (latin1) {
                got << describe(LogDateTime::parseLatin1(b.constData(), b.size()))
                    << describe(LogDateTime::parseLatin1AsUtc(b.constData(), b.size()));
                want << want[0] << utcExpected[i];
            }
            if (got != want)
                mismatches << fields[i] + ": " + want.join(", ") + " != " + got.join(", ");
        }
        for (qint64 t : instants) // only the low 32 bits count
            for (bool local : {false, true}) {
                const QDateTime instant = QDateTime::fromTime_t(quint32(t));
                const QString want = (local ? instant.toLocalTime() : instant.toUTC())
                                         .toString("yyyy-MM-dd hh:mm:ss");
                const QString got = TimeText::dateTime(TimeText::split(t, local), " ");
                if (want != got)
                    mismatches << QString("%1 %2: %3 != %4").arg(t).arg(local).arg(want, got);
            }
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.mid(0, 5).join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
