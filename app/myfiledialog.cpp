#include "app/myfiledialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>

MyFileDialog::MyFileDialog(QWidget* parent) : QFileDialog(parent, QString(), QString(), QString())
{
    // A native dialog has no layout to extend: the widget-based form must exist before the
    // check box row is added.
    setOption(QFileDialog::DontUseNativeDialog, true);
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid)
        return;
    auto* row = new QHBoxLayout;
    m_checkBox =
        new QCheckBox(QCoreApplication::translate("QFileDialog", "Save marked points only"));
    m_checkBox->setObjectName(QStringLiteral("markedOnlyCheckBox"));
    m_checkBox->setChecked(false);
    row->addWidget(m_checkBox);
    grid->addLayout(row, grid->rowCount(), 0, 1, -1);
}

MyFileDialog::~MyFileDialog() = default;

bool MyFileDialog::markedOnly() const
{
    return m_checkBox && m_checkBox->checkState() == Qt::Checked;
}
