#include "formats/logdatetime.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QtTest>

namespace
{

QString describe(const LogDateTime& r)
{
    return QString::asprintf("%d %d-%d-%d %d:%d:%d %lld", r.valid, r.year, r.month, r.day, r.hour,
                             r.minute, r.second, static_cast<long long>(r.secs));
}

QString reference(const QString& field)
{
    QDateTime dt = QDateTime::fromString(field, QStringLiteral("yyyy:MM:dd-hh:mm:ss"));
    dt.setTimeSpec(Qt::UTC);
    const QDate d = dt.date();
    const QTime t = dt.time();
    return describe({dt.isValid(), d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(),
                     dt.toSecsSinceEpoch()});
}

QString field(const QDateTime& utc)
{
    return utc.toString(QStringLiteral("yyyy:MM:dd-hh:mm:ss"));
}

QStringList fields()
{
    QStringList list;
    // Wall times over whole years (gaps on the hour, the half hour, at midnight), the years
    // where QDateTime's local-time handling changes, and the day that Samoa skipped.
    for (int year : {2014, 2036})
        for (QDateTime t(QDate(year, 1, 1), QTime(0, 15), Qt::UTC); t.date().year() == year;
             t = t.addSecs(1800))
            list << field(t);
    for (int year : {1970, 1971, 2037, 2038})
        for (int month : {1, 3, 10, 11, 12})
            for (int day : {1, 9, 30, 31})
                for (int hour : {0, 1, 2, 3, 23})
                    list << QString::asprintf("%d:%02d:%02d-%02d:30:00", year, month, day, hour);
    for (int hour = 0; hour < 24; ++hour)
        list << QString::asprintf("2011:12:%d-%02d:00:00", hour % 2 ? 30 : 29, hour);
    QRandomGenerator random(730);
    for (int i = 0; i < 3000; ++i)
        list << field(QDateTime::fromSecsSinceEpoch(
            qint64(random.bounded(2700000000.0)) - 200000000, Qt::UTC));
    for (int year : {2000, 2015, 2016, 2100})
        list << QString::asprintf("%d:02:29-12:00:00", year);
    // Malformed and out-of-range fields: every single-character change of valid ones.
    const QString valid = QStringLiteral("2014:05:06-10:20:30");
    for (int i = 0; i <= valid.size(); ++i) {
        for (QChar c : QString::fromLatin1("0123456789 :-+.x,\n\xb3"))
            list << QString(valid).insert(i, c) << QString(valid).replace(i, 1, c);
        list << QString(valid).remove(i, 1) << valid.left(i);
    }
    list << QStringLiteral("2014:5:6-1:2:3") << QStringLiteral("14:05:06-10:20:30")
         << QString::fromUtf8("\xd9\xa2\xd9\xa0\xd9\xa1\xd9\xa4:05:06-10:20:30")
         << QString::fromUtf8("2014:05:06-10:20:3\xef\xbc\x90");
    return list;
}

} // namespace

class TestLogDateTime : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQDateTime_data() { TzSwitch::addZoneRows(); }
    void sameAsQDateTime()
    {
        QFETCH(QByteArray, zone);
        const QStringList inputs = fields();
        // parseLatin1AsUtc gives what QDateTime gives when local time is UTC, in every zone.
        static QStringList utcExpected;
        if (utcExpected.isEmpty()) {
            TzSwitch utc("UTC");
            for (const QString& input : inputs)
                utcExpected << reference(input);
        }
        TzSwitch tz(zone);
        int mismatches = 0;
        for (int i = 0; i < inputs.size(); ++i) {
            const QString& input = inputs.at(i);
            const QString expected = reference(input);
            QStringList got{describe(LogDateTime::parse(input))};
            QStringList want{expected};
            if (QString::fromLatin1(input.toLatin1()) == input) {
                const QByteArray b = input.toLatin1();
                got << describe(LogDateTime::parseLatin1(b.constData(), b.size()))
                    << describe(LogDateTime::parseLatin1AsUtc(b.constData(), b.size()));
                want << expected << utcExpected.at(i);
            }
            if (got != want && ++mismatches < 10)
                qWarning() << input << "expected" << want << "got" << got;
        }
        QCOMPARE(mismatches, 0);
    }
};

QTEST_GUILESS_MAIN(TestLogDateTime)
#include "tst_logdatetime.moc"
