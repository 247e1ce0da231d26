#pragma once

#include <QApplication>
#include <QString>
#include <functional>

// The program's application object. An error that reaches the event loop is shown in an error
// box titled with the application title, and the program goes on from the state reached.
namespace platform {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application title: captions of message boxes and error boxes.
    static QString Title();
    static void SetTitle(const QString& title);

    // Shows the error box for an exception (used by notify and by code that catches on the spot).
    static void ShowError(const QString& message);
    // Tests replace the box with a recorder.
    static void SetErrorHook(std::function<void(const QString&)> hook);
};

// Shows a window that may already be open behind others, brought to the front and given the
// keyboard.
void ShowInFront(QWidget* window);

// Runs `f`, reporting any exception through the error box; true when it finished normally.
bool runReportingErrors(const std::function<void()>& f);

} // namespace platform
