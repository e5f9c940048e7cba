#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/trackfileheaderdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(Qt::CheckState)

class TestDeviceDialogs : public QObject
{
    Q_OBJECT

private slots:
    void checkPropagation_data();
    void checkPropagation();
    void applyReturnsCheckedFiles();
    void interval_data();
    void interval();
    void applyForcesPosition();
};

namespace
{

QVector<TrackFileHeader> headers(int count)
{
    QVector<TrackFileHeader> list;
    for (int i = 0; i < count; ++i) {
        TrackFileHeader h;
        h.date = 60514;
        h.timeOfDay = quint32(102030 + i);
        h.fileIndexes = {i};
        list << h;
    }
    return list;
}

} // namespace

void TestDeviceDialogs::checkPropagation_data()
{
    QTest::addColumn<QString>("clicks"); // "r" toggles the root, digits toggle that file
    QTest::addColumn<Qt::CheckState>("root");
    QTest::addColumn<QString>("files"); // x checked, - unchecked

    QTest::newRow("root checks all") << "r" << Qt::Checked << "xxx";
    QTest::newRow("root twice unchecks all") << "rr" << Qt::Unchecked << "---";
    QTest::newRow("one file makes partial") << "1" << Qt::PartiallyChecked << "-x-";
    QTest::newRow("all files one by one") << "012" << Qt::Checked << "xxx";
    QTest::newRow("root then one off") << "r1" << Qt::PartiallyChecked << "x-x";
    QTest::newRow("last one off unchecks root") << "00" << Qt::Unchecked << "---";
}

void TestDeviceDialogs::checkPropagation()
{
    QFETCH(QString, clicks);
    QFETCH(Qt::CheckState, root);
    QFETCH(QString, files);
    auto list = headers(3);
    TrackFileHeaderDialog dialog(list, nullptr);
    auto toggle = [](QTreeWidgetItem* item) {
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    };
    for (const QChar c : clicks)
        toggle(c == 'r' ? dialog.rootItem() : dialog.rootItem()->child(c.digitValue()));
    QCOMPARE(dialog.rootItem()->checkState(0), root);
    QString got;
    for (int i = 0; i < 3; ++i)
        got += dialog.rootItem()->child(i)->checkState(0) == Qt::Checked ? 'x' : '-';
    QCOMPARE(got, files);
}

void TestDeviceDialogs::applyReturnsCheckedFiles()
{
    auto list = headers(3);
    TrackFileHeaderDialog dialog(list, nullptr);
    const QString shown = QDateTime(QDate(2014, 5, 6), QTime(10, 20, 30), Qt::UTC)
                              .toLocalTime()
                              .toString("yyyy-MM-dd - hh:mm:ss");
    QCOMPARE(dialog.rootItem()->child(0)->text(0), QStringLiteral("1"));
    QCOMPARE(dialog.rootItem()->child(0)->text(1), shown);
    dialog.rootItem()->setCheckState(0, Qt::Checked);
    dialog.rootItem()->child(1)->setCheckState(0, Qt::Unchecked);
    dialog.findChild<QPushButton*>("applyButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedFileIndexes(), QVector<int>({0, 2}));
    QCOMPARE(dialog.selectedTracks().size(), 2);
    QCOMPARE(dialog.selectedTracks().at(1).startTime,
             QDateTime(QDate(2014, 5, 6), QTime(10, 20, 32), Qt::UTC).toSecsSinceEpoch());
    QVERIFY(dialog.selectedTracks().at(1).points.isEmpty());

    QVector<TrackFileHeader> none;
    TrackFileHeaderDialog empty(none, nullptr);
    QCOMPARE(empty.rootItem()->childCount(), 0);
    empty.Apply();
    QCOMPARE(empty.result(), int(QDialog::Accepted));
    QVERIFY(empty.selectedFileIndexes().isEmpty());
    QVERIFY(empty.selectedTracks().isEmpty());
}

void TestDeviceDialogs::interval_data()
{
    QTest::addColumn<double>("interval");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("corrected");
    QTest::newRow("7") << 7.0 << 0 << 1.0;
    QTest::newRow("0.5") << 0.5 << 0 << 1.0;
    QTest::newRow("5") << 5.0 << 4 << 5.0;
    QTest::newRow("4.9") << 4.9 << 3 << 4.9;
    QTest::newRow("2.5") << 2.5 << 1 << 2.5;
    QTest::newRow("nan") << qQNaN() << 0 << 1.0;
}

void TestDeviceDialogs::interval()
{
    QFETCH(double, interval);
    QFETCH(int, index);
    QFETCH(double, corrected);
    DeviceConfig config;
    config.gpsInterval = interval;
    DeviceSettingDialog dialog(config);
    QCOMPARE(config.gpsInterval, corrected);
    QCOMPARE(dialog.findChild<QComboBox*>("intervalBox")->currentIndex(), index);
    dialog.findChild<QPushButton*>("applyButton")->click();
    QCOMPARE(dialog.config.gpsInterval, index + 1.0);
}

void TestDeviceDialogs::applyForcesPosition()
{
    DeviceConfig config;
    config.loggingFormat = 3;
    config.gpsInterval = 3;
    config.testMode = true;
    config.bluetooth = true;
    DeviceSettingDialog dialog(config);
    dialog.findChild<QCheckBox*>("bluetoothBox")->setChecked(false);
    dialog.findChild<QCheckBox*>("powerSavingBox")->setChecked(true);
    QVERIFY(dialog.findChild<QCheckBox*>("testModeBox")->isHidden());
    dialog.apply();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.config.loggingFormat, 1);
    QCOMPARE(dialog.config.gpsInterval, 3.0);
    QVERIFY(dialog.config.testMode);
    QVERIFY(!dialog.config.bluetooth);
    QVERIFY(dialog.config.powerSaving);

    DeviceSettingDialog closed(config);
    closed.findChild<QPushButton*>("closeButton")->click();
    QCOMPARE(closed.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestDeviceDialogs)
#include "tst_devicedialogs.moc"
