// Cost of one log date parse (LogDateTime against QDateTime::fromString) and of one point
// time breakdown and text (TimeText against QDateTime). Run with TZ unset and TZ=UTC.

#include "formats/logdatetime.h"
#include "formats/timetext.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace
{

constexpr qint64 Start = 1395878400; // 2014-03-27 00:00:00 UTC

template <typename F> double microseconds(int count, F f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e3 / count;
}

} // namespace

int main()
{
    const QByteArray tz = qgetenv("TZ");
    std::printf("TZ %s\n", qEnvironmentVariableIsSet("TZ") ? tz.constData() : "unset");

    const int fast = 500000;
    const int slow = 20000;
    QStringList fields;
    for (int i = 0; i < fast; ++i)
        fields << QDateTime::fromSecsSinceEpoch(Start + i, Qt::UTC)
                      .toString(QStringLiteral("yyyy:MM:dd-hh:mm:ss"));

    qint64 sink = 0;
    const double ours = microseconds(fast, [&] {
        for (const QString& f : qAsConst(fields))
            sink += LogDateTime::parse(f).secs;
    });
    const double qt = microseconds(slow, [&] {
        for (int i = 0; i < slow; ++i) {
            QDateTime dt =
                QDateTime::fromString(fields.at(i), QStringLiteral("yyyy:MM:dd-hh:mm:ss"));
            dt.setTimeSpec(Qt::UTC);
            sink += dt.toSecsSinceEpoch();
        }
    });
    std::printf("date field parse:  LogDateTime %6.3f us   QDateTime::fromString %6.2f us\n", ours,
                qt);

    // Fields the log readers refuse, as the Latin-1 bytes they hold, against a good one.
    for (const char* field : {"2014:05:06-10:20:30", "2014:02:30-10:20:30", "2040:05:06-10:20:30",
                              "2014:5:06-10:20:30", "2014:05:06-10:20"}) {
        const int size = int(std::strlen(field));
        const double utc = microseconds(fast, [&] {
            for (int i = 0; i < fast; ++i)
                sink += LogDateTime::parseLatin1AsUtc(field, size).year;
        });
        std::printf("parseLatin1AsUtc(\"%s\")%*s %6.3f us\n", field, 20 - size, "", utc);
    }

    for (bool local : {false, true}) {
        const double text = microseconds(fast, [&] {
            for (int i = 0; i < fast; ++i) {
                const CalendarTime t = TimeText::split(Start + i, local);
                sink += TimeText::date(t).size() + TimeText::clock(t).size();
            }
        });
        const double qtText = microseconds(slow, [&] {
            for (int i = 0; i < slow; ++i) {
                QDateTime dt = QDateTime::fromTime_t(quint32(Start + i));
                dt = local ? dt.toLocalTime() : dt.toUTC();
                sink += dt.toString(QStringLiteral("yyyy-MM-dd")).size() +
                        dt.toString(QStringLiteral("hh:mm:ss")).size();
            }
        });
        std::printf("%s date + clock text: TimeText %6.3f us   QDateTime %6.2f us\n",
                    local ? "local" : "UTC  ", text, qtText);
    }
    return sink == 42 ? 1 : 0;
}
