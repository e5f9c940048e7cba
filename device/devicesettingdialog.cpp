#include "device/devicesettingdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

DeviceSettingDialog::DeviceSettingDialog(DeviceConfig& cfg, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Device setting"));

    m_formatGroup = new QGroupBox(tr("Data logging format"), this);
    m_positionButton = new QRadioButton(tr("Position"), m_formatGroup);
    m_positionButton->setObjectName(QStringLiteral("positionButton"));
    auto* formatLayout = new QVBoxLayout(m_formatGroup);
    formatLayout->addWidget(m_positionButton);

    m_settingGroup = new QGroupBox(tr("Data logging setting"), this);
    m_powerSavingBox = new QCheckBox(tr("Power Saving Mode"), m_settingGroup);
    m_powerSavingBox->setObjectName(QStringLiteral("powerSavingBox"));
    m_bluetoothBox = new QCheckBox(tr("Bluetooth Status"), m_settingGroup);
    m_bluetoothBox->setObjectName(QStringLiteral("bluetoothBox"));
    m_heightLimitBox = new QCheckBox(tr("Height Limit"), m_settingGroup);
    m_heightLimitBox->setObjectName(QStringLiteral("heightLimitBox"));
    m_testModeBox = new QCheckBox(tr("Test Mode"), m_settingGroup);
    m_testModeBox->setObjectName(QStringLiteral("testModeBox"));
    auto* settingLayout = new QGridLayout(m_settingGroup);
    settingLayout->setSizeConstraint(QLayout::SetMinimumSize);
    settingLayout->addWidget(m_powerSavingBox, 0, 0);
    settingLayout->addWidget(m_bluetoothBox, 1, 0);
    settingLayout->addWidget(m_heightLimitBox, 2, 0);
    settingLayout->addWidget(m_testModeBox, 3, 0);
    settingLayout->setColumnStretch(1, 10);
    settingLayout->setColumnStretch(2, 20);
    m_testModeBox->hide();

    m_intervalGroup = new QGroupBox(tr("Data logging interval"), this);
    m_intervalBox = new QComboBox(m_intervalGroup);
    m_intervalBox->setObjectName(QStringLiteral("intervalBox"));
    m_intervalBox->addItems({tr("1 Sec"), tr("2 Sec"), tr("3 Sec"), tr("4 Sec"), tr("5 Sec")});
    auto* intervalLayout = new QGridLayout(m_intervalGroup);
    intervalLayout->addWidget(new QLabel(tr("GPS interval:"), m_intervalGroup), 0, 0);
    intervalLayout->addWidget(m_intervalBox, 0, 1);
    intervalLayout->setColumnStretch(1, 10);
    intervalLayout->setColumnStretch(2, 20);

    m_applyButton = new QPushButton(tr("Apply"), this);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_formatGroup);
    layout->addWidget(m_settingGroup);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(m_intervalGroup, 10);
    layout->addLayout(intervalRow);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_applyButton);
    buttonRow->addWidget(m_closeButton);
    layout->addLayout(buttonRow);

    connect(m_applyButton, &QPushButton::clicked, this, &DeviceSettingDialog::apply);
    connect(m_closeButton, &QPushButton::clicked, this, &DeviceSettingDialog::reject);

    m_positionButton->setChecked(true);
    m_powerSavingBox->setChecked(cfg.powerSaving);
    m_bluetoothBox->setChecked(cfg.bluetooth);
    m_heightLimitBox->setChecked(cfg.heightLimit);
    m_testModeBox->setChecked(cfg.testMode);
    // The negated test also catches an interval that is not a number.
    if (!(cfg.gpsInterval >= 1.0 && cfg.gpsInterval <= 5.0))
        cfg.gpsInterval = 1.0;
    m_intervalBox->setCurrentIndex(int(cfg.gpsInterval - 1));
    config = cfg;
}

void DeviceSettingDialog::apply()
{
    // The logging format stays as the logger's user set it: the dialog offers no choice of it.
    config.powerSaving = m_powerSavingBox->isChecked();
    config.bluetooth = m_bluetoothBox->isChecked();
    config.heightLimit = m_heightLimitBox->isChecked();
    config.testMode = m_testModeBox->isChecked();
    config.gpsInterval = m_intervalBox->currentIndex() + 1.0;
    accept();
}
