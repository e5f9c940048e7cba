#include "view/filterdialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestFilterDialog : public QObject
{
    Q_OBJECT

private slots:
    void accept_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<float>("value"); // -1: no valid value
        QTest::newRow("default >") << "" << 1 << "10" << 10.0f;
        QTest::newRow(">=") << "radioGreaterEqual" << 2 << "2.5" << 2.5f;
        QTest::newRow("= zero") << "radioEqual" << 3 << "0" << 0.0f;
        QTest::newRow("<") << "radioLess" << 4 << "12.345" << 12.345f;
        QTest::newRow("<=") << "radioLessEqual" << 5 << "7" << 7.0f;
        QTest::newRow("empty") << "radioLess" << 4 << "" << -1.0f;
        QTest::newRow("text") << "radioGreater" << 1 << "fast" << -1.0f;
        QTest::newRow("negative") << "radioGreater" << 1 << "-3" << -1.0f;
        QTest::newRow("decimal comma") << "radioGreater" << 1 << "2,5" << -1.0f;
        QTest::newRow("marked ignores the entry") << "radioMarkPoint" << 6 << "fast" << -1.0f;
    }
    void accept()
    {
        QFETCH(QString, radio);
        QFETCH(int, rule);
        QFETCH(QString, entry);
        QFETCH(float, value);
        FilterDialog dialog;
        dialog.show();
        QVERIFY(dialog.findChild<QRadioButton*>("radioGreater")->isChecked());
        if (!radio.isEmpty())
            QTest::mouseClick(dialog.findChild<QRadioButton*>(radio), Qt::LeftButton);
        auto* edit = dialog.findChild<QLineEdit*>("lineEdit");
        QCOMPARE(edit->isEnabled(), rule != 6);
        edit->setText(entry);
        dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.filterRuleCode(), rule);
        QCOMPARE(dialog.filterValue(), value);
        QCOMPARE(dialog.isFilterValid(), value >= 0 || rule == 6);
    }

    void cancelKeepsDefaults()
    {
        FilterDialog dialog;
        dialog.show();
        QCOMPARE(dialog.size(), QSize(520, 146));
        dialog.findChild<QLineEdit*>("lineEdit")->setText("fast");
        dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isFilterValid());
        QCOMPARE(dialog.filterValue(), -1.0f);
    }
};

QTEST_MAIN(TestFilterDialog)
#include "tst_filterdialog.moc"
