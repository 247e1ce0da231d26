#include "shell/BoiteMessage.h"
#include "platform/window/Application.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>

using namespace platform;

namespace {

// What the box looked like, and the answer given by pressing `press`.
struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
    int answer = -1;
};

Shown ask(const QString& text, int type, TMsgDlgButtons set, QMessageBox::StandardButton press)
{
    DialogHooksGuard guard;
    Shown shown;
    dialogHooks().messageBox = [&](QMessageBox& box) {
        shown.title = box.windowTitle();
        shown.text = box.text();
        shown.icon = box.icon();
        shown.buttons = box.standardButtons();
        shown.format = box.textFormat();
        if (box.defaultButton() != nullptr)
            shown.defaultButton = box.standardButton(box.defaultButton());
        if (QAbstractButton* b = box.button(press))
            b->click();
    };
    shown.answer = BoiteMessage(text, type, set);
    return shown;
}

TEST(BoiteMessage, YesNoConfirmationAnswersSixOrSeven)
{
    const QString saved = Application::Title();
    Application::SetTitle("Pravolis");
    const Shown yes = ask("Do you really want to suppress this entry ?", mtConfirmation, mbYes | mbNo,
                          QMessageBox::Yes);
    Application::SetTitle(saved);
    EXPECT_EQ(yes.title, "Pravolis");
    EXPECT_EQ(yes.text, "Do you really want to suppress this entry ?");
    EXPECT_EQ(yes.icon, QMessageBox::Question);
    EXPECT_EQ(yes.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yes.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(yes.answer, mrYes);
    EXPECT_EQ(yes.answer, 6);

    EXPECT_EQ(ask("q", mtWarning, mbYes | mbNo, QMessageBox::No).answer, 7);
    EXPECT_EQ(ask("q", mtWarning, mbYes | mbNo, QMessageBox::No).icon, QMessageBox::Warning);
}

TEST(BoiteMessage, YesNoCancelAnswersEachButton)
{
    const Shown cancel = ask("The document has been changed.", mtConfirmation, mbYes | mbNo | mbCancel,
                             QMessageBox::Cancel);
    EXPECT_EQ(cancel.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(cancel.answer, 2);
    EXPECT_EQ(ask("q", mtConfirmation, mbYes | mbNo | mbCancel, QMessageBox::Yes).answer, 6);
    EXPECT_EQ(ask("q", mtConfirmation, mbYes | mbNo | mbCancel, QMessageBox::No).answer, 7);
}

TEST(BoiteMessage, OtherSetsShowExactlyTheButtonsAskedFor)
{
    // A set is never widened into a whole button group (OK + Cancel, Abort + Retry + Ignore...).
    EXPECT_EQ(ask("q", mtInformation, mbOK | mbCancel, QMessageBox::Ok).buttons,
              QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(ask("q", mtInformation, mbOK | mbCancel, QMessageBox::Ok).answer, 1);
    EXPECT_EQ(ask("q", mtError, mbRetry, QMessageBox::Retry).buttons, QMessageBox::StandardButtons(QMessageBox::Retry));
    EXPECT_EQ(ask("q", mtError, mbRetry, QMessageBox::Retry).answer, 4);
    EXPECT_EQ(ask("q", mtError, mbYes | mbCancel, QMessageBox::Cancel).buttons, QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_EQ(ask("q", mtError, mbAbort | mbIgnore, QMessageBox::Ignore).answer, 5);
    EXPECT_EQ(ask("q", mtError, mbAbort | mbIgnore, QMessageBox::Abort).answer, 3);
    EXPECT_EQ(ask("q", mtError, mbYes, QMessageBox::Yes).buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    // An empty set still gives a box that can be closed.
    EXPECT_EQ(ask("q", mtError, 0, QMessageBox::Ok).answer, 1);
    // Help does not answer.
    EXPECT_EQ(ask("q", mtError, mbOK | mbHelp, QMessageBox::Help).answer, 0);
}

TEST(BoiteMessage, IconsByKindAndTextShownAsTyped)
{
    EXPECT_EQ(ask("q", 0, mbOK, QMessageBox::Ok).icon, QMessageBox::Warning);
    EXPECT_EQ(ask("q", 1, mbOK, QMessageBox::Ok).icon, QMessageBox::Critical);
    EXPECT_EQ(ask("q", 2, mbOK, QMessageBox::Ok).icon, QMessageBox::Information);
    EXPECT_EQ(ask("q", 3, mbOK, QMessageBox::Ok).icon, QMessageBox::Question);
    EXPECT_EQ(ask("q", 4, mbOK, QMessageBox::Ok).icon, QMessageBox::NoIcon);
    EXPECT_EQ(ask("q", -1, mbOK, QMessageBox::Ok).icon, QMessageBox::NoIcon);
    const Shown code = ask("Replace <Surname> in \"a<b>.car\" ?", 3, mbYes | mbNo, QMessageBox::NoButton);
    EXPECT_EQ(code.format, Qt::PlainText);
    EXPECT_EQ(code.answer, 0); // closed without a button
}

} // namespace
