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
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("rule");
        QTest::addColumn<float>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("default rule") << QString() << "10" << 1 << 10.0f << true;
        QTest::newRow(">=") << "radioGreaterEqual"
                            << "2.5" << 2 << 2.5f << true;
        QTest::newRow("= zero") << "radioEqual"
                                << "0" << 3 << 0.0f << true;
        QTest::newRow("<") << "radioLess"
                           << "12.345" << 4 << 12.345f << true;
        QTest::newRow("<=") << "radioLessEqual"
                            << "7" << 5 << 7.0f << true;
        QTest::newRow("empty") << "radioLess"
                               << "" << 4 << -1.0f << false;
        QTest::newRow("text") << "radioGreater"
                              << "fast" << 1 << -1.0f << false;
        QTest::newRow("negative") << "radioGreater"
                                  << "-3" << 1 << -1.0f << false;
        QTest::newRow("decimal comma") << "radioGreater"
                                       << "2,5" << 1 << -1.0f << false;
        QTest::newRow("marked ignores the entry") << "radioMarkPoint"
                                                  << "fast" << 6 << -1.0f << true;
        QTest::newRow("marked with a number") << "radioMarkPoint"
                                              << "5" << 6 << -1.0f << true;
    }
    void accept()
    {
        QFETCH(QString, radio);
        QFETCH(QString, entry);
        QFETCH(int, rule);
        QFETCH(float, value);
        QFETCH(bool, valid);
        FilterDialog dialog;
        dialog.show();
        QVERIFY(dialog.findChild<QRadioButton*>("radioGreater")->isChecked());
        if (!radio.isEmpty())
            QTest::mouseClick(dialog.findChild<QRadioButton*>(radio), Qt::LeftButton);
        auto* edit = dialog.findChild<QLineEdit*>("lineEdit");
        QCOMPARE(edit->isEnabled(), radio != "radioMarkPoint");
        edit->setText(entry);
        dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.filterRuleCode(), rule);
        QCOMPARE(dialog.filterValue(), value);
        QCOMPARE(dialog.isFilterValid(), valid);
    }

    void cancelKeepsDefaults()
    {
        FilterDialog dialog;
        dialog.show();
        dialog.findChild<QLineEdit*>("lineEdit")->setText("fast");
        dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isFilterValid());
        QCOMPARE(dialog.filterValue(), -1.0f);
        QCOMPARE(dialog.size(), QSize(520, 146));
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
    }
};

QTEST_MAIN(TestFilterDialog)
#include "tst_filterdialog.moc"
