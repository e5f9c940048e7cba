#include "fuzz/fuzzentries.h"
#include "testsupport.h"

#include <QtTest>

#include <functional>

// Every input that once made a fuzz target fail, and the seeds the fuzzers start from,
// read again through the same entry points.
class TestFuzzRegressions : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    const QMap<QString, std::function<bool(const QByteArray&)>> m_targets{
        {"logreader", FuzzEntries::logReader},
        {"deviceline", FuzzEntries::deviceLines},
        {"deviceheader", FuzzEntries::deviceHeader},
        {"tkx",
         [this](const QByteArray& d) { return FuzzEntries::tkxReader(d, m_scratch.path()); }},
        {"deviceconfig",
         [this](const QByteArray& d) { return FuzzEntries::deviceConfig(d, m_scratch.path()); }}};

private slots:
    void initTestCase() { FuzzEntries::silenceDiagnostics(); }
    void inputs_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        int rows = 0;
        for (const char* path :
             {KV730_TEST_DATA "/fuzz-regressions", KV730_TEST_DATA "/../../fuzz/corpus"}) {
            const QDir root(path);
            for (const QString& target : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                const QDir dir(root.filePath(target));
                for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                    QTest::newRow(qPrintable(root.dirName() + '/' + target + '/' + name))
                        << target << dir.filePath(name);
                    ++rows;
                }
            }
        }
        QVERIFY2(rows > 0, "no fuzz inputs found");
    }

    void inputs()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QVERIFY(m_scratch.isValid());
        QVERIFY2(m_targets.contains(target), "an input for no known target");
        QVERIFY(m_targets.value(target)(TestSupport::readFile(path)));
    }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
