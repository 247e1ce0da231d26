#include "BoiteMessage.h"

#include "platform/window/Application.h"

#include <QApplication>
#include <QMessageBox>

int BoiteMessage(const QString& text, int dialogType, platform::TMsgDlgButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(platform::Application::Title());
    box.setIcon(platform::iconOf(dialogType));
    // File names and field codes ("<Surname>") must show as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    // The box shows the buttons asked for, no more: a set is never widened to a button group.
    const QMessageBox::StandardButtons shown = platform::standardButtonsOf(buttons);
    box.setStandardButtons(shown);
    // The first button, in the order Yes, No, OK, Cancel, Abort, Retry, Ignore, is the default.
    for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok,
                                          QMessageBox::Cancel, QMessageBox::Abort,
                                          QMessageBox::Retry, QMessageBox::Ignore}) {
        if (shown.testFlag(b)) {
            box.setDefaultButton(b);
            break;
        }
    }
    return platform::execMessageBox(box);
}
