#pragma once

#include "formats/displaysettings.h"
#include "view/track.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QtTest/QTest>

#include <csignal>
#include <functional>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// A test that needs a tool the machine lacks skips on a developer's machine, but fails in CI
// (CI set), where scripts/install-deps.sh has installed every tool.
#define SKIP_UNLESS_CI(reason)                                                                   \
    do {                                                                                         \
        if (qEnvironmentVariableIsSet("CI"))                                                     \
            QFAIL(reason);                                                                       \
        QSKIP(reason);                                                                           \
    } while (false)

// Small helpers shared by the test programs.
namespace TestSupport
{

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// The whole file, or an empty array when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of a table in tests/data: one a line, its fields separated by "|" and trimmed,
// with "\n", "\r" and "\t" for their characters; blank lines and "#" lines are left out.
inline QList<QStringList> table(const QString& name)
{
    QList<QStringList> rows;
    for (const QString& line :
         QString::fromUtf8(readFile(KV730_TEST_DATA "/" + name)).split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        rows << QStringList();
        for (QString field : line.split('|'))
            rows.last()
                << field.trimmed().replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t");
    }
    return rows;
}

// Data rows from table(file), named by their first field; the other fields are QString columns
// of the given names, empty where a row leaves them out.
inline void addTable(const char* file, std::initializer_list<const char*> columns)
{
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QStringList& fields : table(file)) {
        QTestData& row = QTest::newRow(qPrintable(fields.value(0)));
        for (int i = 1; i <= int(columns.size()); ++i)
            row << fields.value(i);
    }
}

// Data rows of one QString column, each named by its value.
inline void addRows(const char* column, std::initializer_list<const char*> values)
{
    QTest::addColumn<QString>(column);
    for (const char* value : values)
        QTest::newRow(value) << QString(value);
}

// A column of the current data row, as addTable() makes them.
inline QString field(const char* column)
{
    return *static_cast<QString*>(QTest::qData(column, qMetaTypeId<QString>()));
}

inline Vec3 point(double lat, double lon, double alt = 0.0, qint64 time = 0, int marked = 0,
                  int speed = 0)
{
    Vec3 p;
    p.lat = lat, p.lon = lon, p.alt = alt, p.time = time, p.marked = marked, p.speed = speed;
    return p;
}

// A track (format 2) of n points made by p(i).
inline Track makeTrack(qint64 start, int n, const std::function<Vec3(int)>& p)
{
    Track t{start, 2, {}};
    for (int i = 0; i < n; ++i)
        t.points << p(i);
    return t;
}

// Everything in a folder, hidden files included: a save must leave no temporary file behind.
inline QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

inline QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Faults only POSIX systems offer (named pipes, a file size limit, /dev/full, root): elsewhere
// the helpers do nothing, and SKIP_UNLESS_POSIX skips the test rows that need them.
#ifndef Q_OS_UNIX
#define SKIP_UNLESS_POSIX(needed)                                                                  \
    if (needed)                                                                                    \
    QSKIP("This fault needs a POSIX system.")
inline bool isRoot()
{
    return false;
}
inline bool makeFifo(const QString&)
{
    return false;
}
inline void withFileSizeLimit(qint64, const std::function<void()>& write, bool = true)
{
    write();
}
#else
#define SKIP_UNLESS_POSIX(needed) static_cast<void>(needed)
inline bool isRoot()
{
    return ::geteuid() == 0;
}
inline bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Runs `write` with writes beyond `bytes` failing as under "ulimit -f" (SIGXFSZ ignored unless
// ignoreSignal is false: then a write beyond the limit kills the process unless the code under
// test guards against it).
inline void withFileSizeLimit(rlim_t bytes, const std::function<void()>& write,
                              bool ignoreSignal = true)
{
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{bytes, saved.rlim_max};
    const auto handler = std::signal(SIGXFSZ, ignoreSignal ? SIG_IGN : SIG_DFL);
    setrlimit(RLIMIT_FSIZE, &small);
    write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
}
#endif

// The main window's speed, height and time switches, as the lists and the CSV writer read them.
struct TestSettings : DisplaySettings {
    TestSettings(int s = 0, int h = 0, int t = 0) : speed(s), height(h), time(t) {}
    int speedUnit() const override { return speed; }
    int heightUnit() const override { return height; }
    int timeSwitch() const override { return time; }
    int speed, height, time;
};

} // namespace TestSupport
