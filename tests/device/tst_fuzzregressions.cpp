#include "fuzz/fuzzentries.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Every input that once made a fuzz target fail, and the seeds the fuzzers start from,
// read again through the same entry points.
class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void inputs_data();
    void inputs();

private:
    QTemporaryDir m_scratch;
};

void TestFuzzRegressions::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    FuzzEntries::silenceDiagnostics();
}

void TestFuzzRegressions::inputs_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    const QStringList roots = {QStringLiteral(KV730_TEST_DATA "/fuzz-regressions"),
                               QStringLiteral(KV730_TEST_DATA "/../../fuzz/corpus")};
    int rows = 0;
    for (const QString& root : roots) {
        for (const char* target :
             {"logreader", "deviceline", "deviceheader", "tkx", "deviceconfig"}) {
            const QDir dir(root + QLatin1Char('/') + QLatin1String(target));
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                const QString path = dir.filePath(name);
                QTest::newRow(qPrintable(QDir(root).dirName() + '/' + target + '/' + name))
                    << QString::fromLatin1(target) << path;
                ++rows;
            }
        }
    }
    QVERIFY2(rows > 0, "no fuzz inputs found");
}

void TestFuzzRegressions::inputs()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    bool sane = false;
    if (target == QLatin1String("logreader"))
        sane = FuzzEntries::logReader(data);
    else if (target == QLatin1String("deviceline"))
        sane = FuzzEntries::deviceLines(data);
    else if (target == QLatin1String("deviceheader"))
        sane = FuzzEntries::deviceHeader(data);
    else if (target == QLatin1String("tkx"))
        sane = FuzzEntries::tkxReader(data, m_scratch.path());
    else if (target == QLatin1String("deviceconfig"))
        sane = FuzzEntries::deviceConfig(data, m_scratch.path());
    QVERIFY(sane);
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
