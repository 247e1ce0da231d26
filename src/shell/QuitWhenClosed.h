#pragma once

#include <QCoreApplication>
#include <QWidget>

#include <functional>

// The program ends when `window` is closed (the last window closing does not end it by itself:
// the main window hides while the design or database window is open).
// `quit` stands in for ending the program in tests.
void QuitWhenClosed(QWidget* window, std::function<void()> quit = &QCoreApplication::quit);
