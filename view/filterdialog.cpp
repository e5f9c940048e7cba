#include "view/filterdialog.h"
#include "ui_filterdialog.h"

#include "view/units.h"

#include <QPushButton>

FilterDialog::FilterDialog(QWidget* parent) : QDialog(parent), ui(new Ui::FilterDialog)
{
    ui->setupUi(this);
    setSpeedUnit(0);
    // Typing the speed and Enter is the whole use; an entry that would filter nothing
    // cannot be accepted.
    ui->lineEdit->setFocus();
    connect(ui->lineEdit, &QLineEdit::textChanged, this, &FilterDialog::updateOkButton);
    connect(ui->radioMarkPoint, &QRadioButton::toggled, this, &FilterDialog::updateOkButton);
    updateOkButton();
}

void FilterDialog::setSpeedUnit(int speedUnit)
{
    m_speedUnit = speedUnit;
    ui->unitLabel->setText(Units::speedName(speedUnit));
}

FilterDialog::~FilterDialog()
{
    delete ui;
}

float FilterDialog::entryValue() const
{
    bool ok = false;
    const float value = ui->lineEdit->text().toFloat(&ok);
    return (ok && value >= 0.0f) ? value : -1.0f;
}

void FilterDialog::updateOkButton()
{
    ui->buttonBox->button(QDialogButtonBox::Ok)
        ->setEnabled(ui->radioMarkPoint->isChecked() || entryValue() != -1.0f);
}

void FilterDialog::on_radioGreater_clicked(bool checked)
{
    if (checked)
        ruleCode = FilterRule::Greater;
}

void FilterDialog::on_radioGreaterEqual_clicked(bool checked)
{
    if (checked)
        ruleCode = FilterRule::GreaterEqual;
}

void FilterDialog::on_radioEqual_clicked(bool checked)
{
    if (checked)
        ruleCode = FilterRule::Equal;
}

void FilterDialog::on_radioLess_clicked(bool checked)
{
    if (checked)
        ruleCode = FilterRule::Less;
}

void FilterDialog::on_radioLessEqual_clicked(bool checked)
{
    if (checked)
        ruleCode = FilterRule::LessEqual;
}

void FilterDialog::on_radioMarkPoint_clicked(bool checked)
{
    if (checked)
        ruleCode = FilterRule::Marked;
}

void FilterDialog::on_radioMarkPoint_toggled(bool checked)
{
    ui->lineEdit->setEnabled(!checked);
}

void FilterDialog::on_buttonBox_accepted()
{
    speedValue = entryValue();
    if (speedValue != -1.0f && m_speedUnit != 0)
        speedValue = float(double(speedValue) * Units::KmPerMile);
    if (ruleCode == FilterRule::Marked) {
        speedValue = -1.0f;
        valid = true;
    } else {
        valid = speedValue != -1.0f;
    }
}
