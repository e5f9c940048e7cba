#pragma once

#include <QtWidgets>

#include <functional>

// Answers the modal dialogs of a flow in the order they are expected: each handler is
// given the active modal widget once it is of the handler's type. A handler is taken off
// the list before it runs, so that dialogs its answer opens are answered by the next ones.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer() { startTimer(5); }
    bool done() const { return m_handlers.isEmpty(); }
    template <typename T> void expect(const std::function<void(T*)>& act)
    {
        m_handlers << Handler{[](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                              [act](QWidget* w) { act(qobject_cast<T*>(w)); }};
    }
    // Records the box's text, informative text and icon, then presses the button.
    void expectBox(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        expect<QMessageBox>([this, button](QMessageBox* box) {
            boxes << box->text() + (box->informativeText().isEmpty() ? "" : "\n") +
                         box->informativeText();
            icons << box->icon();
            titles << box->windowTitle(); // empty: the box would be titled with the program's name
            box->button(button)->click();
        });
    }

    QStringList boxes;
    QList<QMessageBox::Icon> icons;
    QStringList titles;

private:
    struct Handler {
        std::function<bool(QWidget*)> matches;
        std::function<void(QWidget*)> act;
    };
    void timerEvent(QTimerEvent* event) override
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || m_handlers.isEmpty() || !m_handlers.first().matches(w))
            return;
        const Handler handler = m_handlers.takeFirst();
        // A timer does not fire inside its own handler: a new one serves the nested dialogs.
        killTimer(event->timerId());
        startTimer(5);
        handler.act(w);
    }
    QList<Handler> m_handlers;
};
