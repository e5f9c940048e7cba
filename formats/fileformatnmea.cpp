#include "formats/fileformatnmea.h"

#include "formats/civildate.h"
#include "formats/formatslog.h"
#include "formats/importsupport.h"
#include "formats/settingfile.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <cmath>

namespace
{
std::atomic<int> g_trackGap{FileFormatNMEA::defaultTrackGap};

QString tr(const char* text)
{
    return QCoreApplication::translate("FileFormatNMEA", text);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Checks the "*hh" checksum where there is one; strips it. Sentences without one pass.
bool checksumOk(QByteArray& sentence)
{
    const int star = sentence.lastIndexOf('*');
    if (star < 0)
        return true;
    if (sentence.size() - star < 3)
        return false;
    const int high = hexDigit(sentence.at(star + 1));
    const int low = hexDigit(sentence.at(star + 2));
    if (high < 0 || low < 0)
        return false;
    unsigned char sum = 0;
    for (int i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(sentence.at(i));
    sentence.truncate(star);
    return sum == ((high << 4) | low);
}

// hhmmss(.sss) as seconds of the day; -1 when it is none.
int secondsOfDay(const QByteArray& text)
{
    if (text.size() < 6)
        return -1;
    for (int i = 0; i < 6; ++i)
        if (text.at(i) < '0' || text.at(i) > '9')
            return -1;
    const char* p = text.constData();
    const int h = (p[0] - '0') * 10 + p[1] - '0';
    const int m = (p[2] - '0') * 10 + p[3] - '0';
    const int s = (p[4] - '0') * 10 + p[5] - '0';
    if (h > 23 || m > 59 || s > 60)
        return -1;
    return h * 3600 + m * 60 + s;
}

// ddmmyy as days since 1970; false when it is none.
bool days(const QByteArray& text, qint64* result)
{
    if (text.size() != 6)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    const char* p = text.constData();
    const int d = (p[0] - '0') * 10 + p[1] - '0';
    const int m = (p[2] - '0') * 10 + p[3] - '0';
    const int y = (p[4] - '0') * 10 + p[5] - '0';
    if (d < 1 || d > 31 || m < 1 || m > 12)
        return false;
    *result = CivilDate::daysFrom(y < 80 ? 2000 + y : 1900 + y, m, d);
    return true;
}

// (d)ddmm.mmmm and a hemisphere letter as decimal degrees.
bool coordinate(const QByteArray& text, const QByteArray& hemisphere, double limit,
                double* result)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < 0 || hemisphere.size() != 1)
        return false;
    const double degrees = std::floor(v / 100.0);
    const double minutes = v - degrees * 100.0;
    if (minutes >= 60.0)
        return false;
    double d = degrees + minutes / 60.0;
    const char h = hemisphere.at(0);
    if (h == 'S' || h == 'W')
        d = -d;
    else if (h != 'N' && h != 'E')
        return false;
    if (d > limit || d < -limit)
        return false;
    *result = d;
    return true;
}

// The sentences of one second, joined into one point.
struct Second {
    int time = -1;
    bool rmc = false;
    bool gga = false;
    double lat = 0.0;
    double lon = 0.0;
    double alt = 0.0;
    qint32 speed = 0;
    qint64 day = 0;
};
} // namespace

int FileFormatNMEA::trackGap()
{
    return g_trackGap.load(std::memory_order_relaxed);
}

void FileFormatNMEA::setTrackGap(int seconds)
{
    g_trackGap.store(seconds, std::memory_order_relaxed);
}

int FileFormatNMEA::readSettingFile(const QString& path)
{
    bool ok = false;
    int gap = SettingFile(path)
                  .value(QStringLiteral("NMEA_track_gap"), defaultTrackGap)
                  .toInt(&ok);
    if (!ok || gap <= 0)
        gap = defaultTrackGap;
    setTrackGap(gap);
    return gap;
}

bool FileFormatNMEA::load(QVector<Track>& tracks, const QString& fileName)
{
    clearMessages();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorString(tr("The file cannot be read: %1").arg(file.errorString()));
        return false;
    }
    return read(tracks, file);
}

bool FileFormatNMEA::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                          bool markedOnly)
{
    Q_UNUSED(tracks);
    Q_UNUSED(fileName);
    Q_UNUSED(selection);
    Q_UNUSED(markedOnly);
    setErrorString(tr("NMEA files cannot be written."));
    return false;
}

bool FileFormatNMEA::read(QVector<Track>& tracks, QIODevice& device)
{
    clearMessages();
    const qint64 gap = trackGap();
    QVector<Track> read;
    Track track;
    bool hasAltitude = false;
    qint64 lastTime = 0;
    Second second;
    int sentences = 0;
    int badChecksums = 0;
    qint64 bytes = 0;

    auto endTrack = [&] {
        if (track.points.isEmpty())
            return;
        ImportSupport::finishTrack(track, hasAltitude, true);
        read.append(track);
        track = Track();
        hasAltitude = false;
    };
    auto flush = [&] {
        if (second.time < 0 || !second.rmc)
            return;
        Vec3 p;
        p.lat = second.lat;
        p.lon = second.lon;
        p.time = second.day * 86400 + second.time;
        p.speed = second.speed;
        if (second.gga) {
            p.alt = second.alt;
            hasAltitude = true;
        }
        if (lastTime != 0 && (p.time < lastTime || p.time - lastTime > gap))
            endTrack();
        lastTime = p.time;
        track.points.append(p);
    };

    char buffer[4096];
    while (true) {
        const qint64 length = device.readLine(buffer, sizeof buffer);
        if (length <= 0)
            break;
        bytes += length;
        // A file that shows no sentence in its first megabyte is something else.
        if (sentences == 0 && bytes > (1 << 20))
            break;
        QByteArray line = QByteArray::fromRawData(buffer, int(length)).trimmed();
        const int dollar = line.indexOf('$');
        if (dollar < 0)
            continue;
        line = line.mid(dollar);
        if (line.size() < 7)
            continue;
        if (!checksumOk(line)) {
            ++badChecksums;
            continue;
        }
        const QList<QByteArray> f = line.split(',');
        const QByteArray type = f.at(0).mid(3);
        const bool rmc = type == "RMC" && f.size() >= 10;
        const bool gga = type == "GGA" && f.size() >= 10;
        if (!rmc && !gga)
            continue;
        ++sentences;
        const int time = secondsOfDay(f.at(1));
        if (time < 0)
            continue;
        if (time != second.time) {
            flush();
            second = Second();
            second.time = time;
        }
        if (rmc) {
            qint64 day = 0;
            if (f.at(2) != "A" || !days(f.at(9), &day) ||
                !coordinate(f.at(3), f.at(4), 90.0, &second.lat) ||
                !coordinate(f.at(5), f.at(6), 180.0, &second.lon))
                continue;
            bool ok = false;
            const double knots = f.at(7).toDouble(&ok);
            second.speed = ok ? ImportSupport::speedFromMetresPerSecond(knots * 1852.0 / 3600.0)
                              : 0;
            second.day = day;
            second.rmc = true;
        } else {
            bool ok = false;
            const double alt = f.at(9).toDouble(&ok);
            if (f.at(6).isEmpty() || f.at(6) == "0" || !ok)
                continue;
            second.alt = alt;
            second.gga = true;
        }
    }
    flush();
    endTrack();

    if (sentences == 0 || read.isEmpty()) {
        setErrorString(sentences == 0
                           ? tr("No RMC or GGA sentence was found: this is not an NMEA 0183 log.")
                           : tr("The log holds no valid position (no RMC sentence with status A "
                                "and a date)."));
        qCWarning(lcFormats) << "NMEA refused:" << errorString();
        return false;
    }
    if (badChecksums > 0)
        setWarningString(
            QCoreApplication::translate("FileFormatNMEA",
                                        "%n line(s) with a wrong checksum were left out.",
                                        nullptr, badChecksums));
    tracks += read;
    return true;
}
