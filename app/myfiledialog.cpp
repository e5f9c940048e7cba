#include "app/myfiledialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>

MyFileDialog::MyFileDialog(QWidget* parent) : QFileDialog(parent, QString(), QString(), QString())
{
    // A native dialog has no layout to extend: the widget-based form must exist before the
    // check box row is added.
    setOption(QFileDialog::DontUseNativeDialog, true);
    // The base dialog would ask about the typed name; accept() asks about the written one.
    setOption(QFileDialog::DontConfirmOverwrite, true);
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

void MyFileDialog::accept()
{
    const QStringList files = selectedFiles();
    const QString typed = files.value(0);
    if (acceptMode() == AcceptSave && !typed.isEmpty() && !QFileInfo(typed).isDir()) {
        const QString name = m_finalName ? m_finalName(typed, selectedNameFilter()) : typed;
        const QFileInfo written(name);
        if (written.exists()) {
            // The question and its translations are the file dialog's own.
            QMessageBox box(QMessageBox::Warning, windowTitle(),
                            QCoreApplication::translate(
                                "QFileDialog", "%1 already exists.\nDo you want to replace it?")
                                .arg(written.fileName()),
                            QMessageBox::Yes | QMessageBox::No, this);
            box.setDefaultButton(QMessageBox::No);
            if (box.exec() != QMessageBox::Yes)
                return;
        }
    }
    QFileDialog::accept();
}
