#pragma once

#include <QtWidgets>

#include <functional>

// Answers the modal dialogs of a flow in the order they are expected: each handler is
// given the active modal widget until it takes it.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer() { startTimer(5); }
    bool done() const { return m_handlers.isEmpty(); }
    template <typename T> void expect(const std::function<void(T*)>& act)
    {
        m_handlers << [act](QWidget* w) {
            T* t = qobject_cast<T*>(w);
            if (t)
                act(t);
            return t != nullptr;
        };
    }
    // Records the box's text, informative text and icon, then presses the button.
    void expectBox(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        expect<QMessageBox>([this, button](QMessageBox* box) {
            boxes << box->text() + (box->informativeText().isEmpty() ? "" : "\n") +
                         box->informativeText();
            icons << box->icon();
            box->button(button)->click();
        });
    }

    QStringList boxes;
    QList<QMessageBox::Icon> icons;

private:
    void timerEvent(QTimerEvent*) override
    {
        QWidget* w = QApplication::activeModalWidget();
        if (w && !m_handlers.isEmpty() && m_handlers.first()(w))
            m_handlers.removeFirst();
    }
    QList<std::function<bool(QWidget*)>> m_handlers;
};
