#include "device/devicesettingdialog.h"
#include "device/trackfileheaderdialog.h"

#include <QtTest>
#include <QtWidgets>

class TestDeviceDialogs : public QObject
{
    Q_OBJECT

private slots:
    void checkPropagation_data()
    {
        QTest::addColumn<QString>("clicks"); // "r" toggles the root, digits toggle that file
        QTest::addColumn<Qt::CheckState>("root");
        QTest::addColumn<QVector<int>>("selected");
        QTest::newRow("root checks all") << "r" << Qt::Checked << QVector<int>{0, 1, 2};
        QTest::newRow("one file makes partial") << "1" << Qt::PartiallyChecked << QVector<int>{1};
        QTest::newRow("all files one by one") << "012" << Qt::Checked << QVector<int>{0, 1, 2};
        QTest::newRow("root then one off") << "r1" << Qt::PartiallyChecked << QVector<int>{0, 2};
        QTest::newRow("last one off unchecks root") << "00" << Qt::Unchecked << QVector<int>{};
    }
    // Ticks pass down from the root and back up from the files; Apply takes the ticked files.
    void checkPropagation()
    {
        QFETCH(QString, clicks);
        QVector<TrackFileHeader> list(3);
        for (int i = 0; i < 3; ++i)
            list[i].fileIndexes = {i};
        TrackFileHeaderDialog dialog(list, nullptr);
        for (const QChar c : clicks) {
            QTreeWidgetItem* item =
                c == 'r' ? dialog.rootItem() : dialog.rootItem()->child(c.digitValue());
            item->setCheckState(0,
                                item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        QTEST(dialog.rootItem()->checkState(0), "root");
        dialog.findChild<QPushButton*>("applyButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTEST(dialog.selectedFileIndexes(), "selected");
        QCOMPARE(dialog.selectedTracks().size(), dialog.selectedFileIndexes().size());
    }
    void intervalCorrection_data()
    {
        QTest::addColumn<double>("interval");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("corrected");
        QTest::newRow("above 5") << 7.0 << 0 << 1.0;
        QTest::newRow("5") << 5.0 << 4 << 5.0;
        QTest::newRow("4.9") << 4.9 << 3 << 4.9;
        QTest::newRow("nan") << qQNaN() << 0 << 1.0;
    }
    void intervalCorrection()
    {
        QFETCH(double, interval);
        QFETCH(int, index);
        DeviceConfig config;
        config.gpsInterval = interval;
        DeviceSettingDialog dialog(config);
        QTEST(config.gpsInterval, "corrected");
        QCOMPARE(dialog.findChild<QComboBox*>("intervalBox")->currentIndex(), index);
        dialog.findChild<QPushButton*>("applyButton")->click();
        QCOMPARE(dialog.config.gpsInterval, index + 1.0);
    }
};

QTEST_MAIN(TestDeviceDialogs)
#include "tst_devicedialogs.moc"
