#pragma once

#include "device/deviceconfig.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// Edits a copy of the logger's configuration before it is written back.
class DeviceSettingDialog : public QDialog
{
    Q_OBJECT

public:
    // Corrects an interval outside 1..5 seconds in the given record to 1.
    DeviceSettingDialog(DeviceConfig& config, QWidget* parent = nullptr);

    DeviceConfig config;

public slots:
    void apply();

private:
    QGroupBox* m_formatGroup = nullptr;
    QGroupBox* m_settingGroup = nullptr;
    QGroupBox* m_intervalGroup = nullptr;
    QRadioButton* m_positionButton = nullptr;
    QCheckBox* m_powerSavingBox = nullptr;
    QCheckBox* m_bluetoothBox = nullptr;
    QCheckBox* m_heightLimitBox = nullptr;
    QCheckBox* m_testModeBox = nullptr;
    QComboBox* m_intervalBox = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
