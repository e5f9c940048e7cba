#include "formats/logdatetime.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QtTest>

namespace
{

LogDateTime reference(const QString& field)
{
    QDateTime dt = QDateTime::fromString(field, QStringLiteral("yyyy:MM:dd-hh:mm:ss"));
    dt.setTimeSpec(Qt::UTC);
    LogDateTime r;
    r.valid = dt.isValid();
    r.year = dt.date().year();
    r.month = dt.date().month();
    r.day = dt.date().day();
    r.hour = dt.time().hour();
    r.minute = dt.time().minute();
    r.second = dt.time().second();
    r.secs = dt.toSecsSinceEpoch();
    return r;
}

QString describe(const LogDateTime& r)
{
    return QStringLiteral("valid=%1 %2-%3-%4 %5:%6:%7 secs=%8")
        .arg(r.valid)
        .arg(r.year)
        .arg(r.month)
        .arg(r.day)
        .arg(r.hour)
        .arg(r.minute)
        .arg(r.second)
        .arg(r.secs);
}

QString field(const QDateTime& utc)
{
    return utc.toString(QStringLiteral("yyyy:MM:dd-hh:mm:ss"));
}

QStringList fields()
{
    QStringList list;
    // Wall times across whole years in zones with gaps on the hour, the half hour and
    // at midnight, and in the years where QDateTime's handling of local time changes.
    for (int year : {2014, 2036}) {
        QDateTime t(QDate(year, 1, 1), QTime(0, 15), Qt::UTC);
        const QDateTime end(QDate(year + 1, 1, 1), QTime(0, 0), Qt::UTC);
        for (; t < end; t = t.addSecs(1800))
            list << field(t);
    }
    for (int year : {2037, 2038, 1970, 1971})
        for (int month : {1, 3, 10, 11, 12})
            for (int day : {1, 9, 30, 31})
                for (int hour : {0, 1, 2, 3, 23})
                    list << QStringLiteral("%1:%2:%3-%4:30:00")
                                .arg(year)
                                .arg(month, 2, 10, QLatin1Char('0'))
                                .arg(day, 2, 10, QLatin1Char('0'))
                                .arg(hour, 2, 10, QLatin1Char('0'));
    // The day that Samoa skipped.
    for (int hour = 0; hour < 24; ++hour)
        list << QStringLiteral("2011:12:%1-%2:00:00")
                    .arg(hour % 2 ? 30 : 29)
                    .arg(hour, 2, 10, QLatin1Char('0'));
    QRandomGenerator random(730);
    for (int i = 0; i < 3000; ++i) {
        const qint64 secs = qint64(random.bounded(2700000000.0)) - 200000000;
        list << field(QDateTime::fromSecsSinceEpoch(secs, Qt::UTC));
    }
    list << QStringLiteral("2014:05:06-10:20:30") << QStringLiteral("2010:01:01-00:00:00")
         << QStringLiteral("2035:12:31-23:59:59") << QStringLiteral("2016:02:29-12:00:00")
         << QStringLiteral("2015:02:29-12:00:00") << QStringLiteral("2100:02:29-12:00:00")
         << QStringLiteral("2000:02:29-12:00:00") << QStringLiteral("2014:04:31-12:00:00")
         << QStringLiteral("2014:13:01-12:00:00") << QStringLiteral("2014:00:10-12:00:00")
         << QStringLiteral("2014:05:00-12:00:00") << QStringLiteral("2014:05:06-24:00:00")
         << QStringLiteral("2014:05:06-23:60:00") << QStringLiteral("2014:05:06-23:59:60")
         << QStringLiteral("2014:5:6-1:2:3") << QStringLiteral("2014:05:06-1:02:03")
         << QStringLiteral("14:05:06-10:20:30") << QStringLiteral("0000:05:06-10:20:30")
         << QStringLiteral("9999:12:31-23:59:59") << QStringLiteral("-2014:05:06-10:20:30")
         << QStringLiteral("+2014:05:06-10:20:30") << QStringLiteral(" 2014:05:06-10:20:30")
         << QStringLiteral("2014:05:06-10:20:30 ") << QStringLiteral("2014:05:06 10:20:30")
         << QStringLiteral("2014-05-06-10:20:30") << QStringLiteral("2014:05:06-10:20")
         << QStringLiteral("2014:05:06-10:20:30.5") << QStringLiteral("2014:05:06-10:20:3x")
         << QStringLiteral("2O14:05:06-10:20:30") << QStringLiteral("2014:05:06-10:20:30\n")
         << QStringLiteral("20140:5:06-10:20:30") << QStringLiteral("2014:005:6-10:20:30")
         << QStringLiteral("2014:05:06-10:20:300") << QStringLiteral("") << QStringLiteral(":")
         << QStringLiteral("2014:05:06-10:20:30,") << QStringLiteral("ABCD:EF:GH-IJ:KL:MN")
         << QString::fromUtf8("\xd9\xa2\xd9\xa0\xd9\xa1\xd9\xa4:05:06-10:20:30")
         << QString::fromUtf8("2014:05:06-10:20:3\xef\xbc\x90")
         << QString::fromLatin1("2014:05:06-10:20:\xb3\xb3");
    return list;
}

} // namespace

class TestLogDateTime : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQDateTime_data();
    void sameAsQDateTime();
};

void TestLogDateTime::sameAsQDateTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    for (const QByteArray& zone : TzSwitch::zones())
        QTest::newRow(zone.isEmpty() ? "(empty)" : zone.constData()) << zone;
}

void TestLogDateTime::sameAsQDateTime()
{
    QFETCH(QByteArray, zone);
    const QStringList inputs = fields();
    // The log reader's variant gives what QDateTime gives when local time is UTC.
    static QStringList utcExpected;
    if (utcExpected.isEmpty()) {
        TzSwitch utc("UTC");
        for (const QString& input : inputs)
            utcExpected << describe(reference(input));
    }
    TzSwitch tz(zone);
    int mismatches = 0;
    for (int i = 0; i < inputs.size(); ++i) {
        const QString& input = inputs.at(i);
        const QString expected = describe(reference(input));
        const QString fromString = describe(LogDateTime::parse(input));
        QString fromBytes = expected;
        bool latin1 = true;
        for (QChar c : input)
            latin1 = latin1 && c.unicode() < 256;
        if (latin1) {
            const QByteArray bytes = input.toLatin1();
            fromBytes = describe(LogDateTime::parseLatin1(bytes.constData(), bytes.size()));
            const QString asUtc =
                describe(LogDateTime::parseLatin1AsUtc(bytes.constData(), bytes.size()));
            if (asUtc != utcExpected.at(i) && ++mismatches < 10)
                qWarning() << input << "as UTC expected" << utcExpected.at(i) << "got" << asUtc;
        }
        if ((fromString != expected || fromBytes != expected) && ++mismatches < 10)
            qWarning() << input << "expected" << expected << "got" << fromString << fromBytes;
    }
    QCOMPARE(mismatches, 0);
}

QTEST_GUILESS_MAIN(TestLogDateTime)
#include "tst_logdatetime.moc"
