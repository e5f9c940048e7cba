#pragma once

#include <QFileDialog>

#include <functional>

class QCheckBox;

// The save dialog: the widget-based file dialog with a "Save marked points only" box. It
// asks before replacing a file, about the name that will be written (the typed name may
// still get an extension).
class MyFileDialog : public QFileDialog
{
public:
    explicit MyFileDialog(QWidget* parent);
    ~MyFileDialog() override;

    bool markedOnly() const;
    QCheckBox* markedOnlyCheckBox() const { return m_checkBox; }
    // The name written for a typed name and the selected name filter.
    void setFinalName(const std::function<QString(const QString&, const QString&)>& finalName)
    {
        m_finalName = finalName;
    }

public slots:
    void accept() override;

private:
    QCheckBox* m_checkBox = nullptr;
    std::function<QString(const QString&, const QString&)> m_finalName;
};
