#pragma once

#include <QFileDialog>

class QCheckBox;

// The save dialog: the widget-based file dialog with a "Save marked points only" box.
class MyFileDialog : public QFileDialog
{
public:
    explicit MyFileDialog(QWidget* parent);
    ~MyFileDialog() override;

    bool markedOnly() const;
    QCheckBox* markedOnlyCheckBox() const { return m_checkBox; }

private:
    QCheckBox* m_checkBox = nullptr;
};
