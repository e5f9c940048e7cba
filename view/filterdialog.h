#pragma once

#include "view/filterrule.h"

#include <QDialog>

namespace Ui
{
class FilterDialog;
}

// Asks for a speed rule (or marked points only) for the point list.
class FilterDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FilterDialog(QWidget* parent = nullptr);
    ~FilterDialog() override;

    // The unit the speed is typed in (DisplaySettings: 0 km/h, else mi/h), named beside it.
    void setSpeedUnit(int speedUnit);
    // The typed speed in km/h; -1.0 when there is none.
    float filterValue() const { return speedValue; }
    int filterRuleCode() const { return ruleCode; }
    bool isFilterValid() const { return valid; }

private slots:
    void on_radioGreater_clicked(bool checked);
    void on_radioGreaterEqual_clicked(bool checked);
    void on_radioEqual_clicked(bool checked);
    void on_radioLess_clicked(bool checked);
    void on_radioLessEqual_clicked(bool checked);
    void on_radioMarkPoint_clicked(bool checked);
    void on_radioMarkPoint_toggled(bool checked);
    void on_buttonBox_accepted();
    void updateOkButton();

private:
    // The entry as typed; -1 when it is empty, not a number or negative.
    float entryValue() const;

    Ui::FilterDialog* ui;
    float speedValue = -1.0f;
    int ruleCode = FilterRule::Greater;
    bool valid = true;
    int m_speedUnit = 0;
};
