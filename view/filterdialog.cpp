#include "view/filterdialog.h"
#include "ui_filterdialog.h"

FilterDialog::FilterDialog(QWidget* parent) : QDialog(parent), ui(new Ui::FilterDialog)
{
    ui->setupUi(this);
}

FilterDialog::~FilterDialog()
{
    delete ui;
}

void FilterDialog::on_radioGreater_clicked(bool checked)
{
    if (checked)
        ruleCode = 1;
}

void FilterDialog::on_radioGreaterEqual_clicked(bool checked)
{
    if (checked)
        ruleCode = 2;
}

void FilterDialog::on_radioEqual_clicked(bool checked)
{
    if (checked)
        ruleCode = 3;
}

void FilterDialog::on_radioLess_clicked(bool checked)
{
    if (checked)
        ruleCode = 4;
}

void FilterDialog::on_radioLessEqual_clicked(bool checked)
{
    if (checked)
        ruleCode = 5;
}

void FilterDialog::on_radioMarkPoint_clicked(bool checked)
{
    if (checked)
        ruleCode = 6;
}

void FilterDialog::on_radioMarkPoint_toggled(bool checked)
{
    ui->lineEdit->setEnabled(!checked);
}

void FilterDialog::on_buttonBox_accepted()
{
    bool ok = false;
    const float value = ui->lineEdit->text().toFloat(&ok);
    speedValue = (ok && value >= 0.0f) ? value : -1.0f;
    if (ruleCode == 6) {
        speedValue = -1.0f;
        valid = true;
    } else {
        valid = speedValue != -1.0f;
    }
}
