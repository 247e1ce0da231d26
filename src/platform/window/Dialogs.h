#pragma once

#include "platform/Graphics.h"
#include "platform/TColor.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <functional>

class QInputDialog;
class QFileDialog;
class QFontDialog;
class QColorDialog;

// The standard dialogs the windows use: the message dialog, the input dialog, the open and save
// file dialogs, the font and colour dialogs. Every one of them can be answered by a test hook in
// place of the user, so no test ever waits on a modal box.
namespace platform {

// Kind of a message: it gives the icon. The numbers are the ones callers pass.
enum TMsgDlgType { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

// A set of buttons, one bit each.
using TMsgDlgButtons = unsigned;
enum TMsgDlgBtn : TMsgDlgButtons {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAbort = 16,
    mbRetry = 32,
    mbIgnore = 64,
    mbHelp = 1024,
};

// What a modal box answers: the button pressed, 0 for anything else (a closed box, Help).
enum TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

QMessageBox::Icon iconOf(int dialogType);
// Exactly the buttons of the set; an empty set gives OK, so that the box can be closed.
QMessageBox::StandardButtons standardButtonsOf(TMsgDlgButtons buttons);
int modalResultOf(QMessageBox::StandardButton button);

// Runs a prepared box (or hands it to the test hook) and answers the button pressed.
int execMessageBox(QMessageBox& box);

// The message dialog, titled with the application title: the icon of the type, the buttons of
// the set, the text as plain text (never taken for markup).
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons = mbOK);

// The input dialog: true on OK, with `value` replaced by the edited text; Cancel leaves it.
bool InputQuery(const QString& caption, const QString& prompt, QString& value);

// File dialogs keep their settings between runs, as the window's dialog components do. Filters
// are written "Description|*.ext;*.ext2|Description 2|*.ext3"; FilterIndex counts from 1.
enum TOpenOption : unsigned {
    ofOverwritePrompt = 1,
    ofFileMustExist = 2,
    ofPathMustExist = 4,
};
using TOpenOptions = unsigned;

class TOpenDialog : public QObject {
    Q_OBJECT
public:
    explicit TOpenDialog(QObject* parent = nullptr) : QObject(parent) {}

    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QString InitialDir;
    QString DefaultExt;
    TOpenOptions Options = 0;

    // Shows the dialog; on OK FileName and FilterIndex hold the choice.
    bool Execute();

protected:
    virtual bool IsSave() const { return false; }
};

class TSaveDialog : public TOpenDialog {
    Q_OBJECT
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// The font dialog: family, point size, the styles bold, italic, underline, strike-out, and the
// colour, chosen through a button among the effects (its name "FontColor") that opens the colour
// dialog. The character set and the escapement of Font are kept as they were.
class TFontDialog : public QObject {
    Q_OBJECT
public:
    explicit TFontDialog(QObject* parent = nullptr) : QObject(parent) {}
    TFont Font;
    // The colour button's caption, in the caller's language.
    QString ColorCaption = QStringLiteral("&Colour...");
    bool Execute();
};

class TColorDialog : public QObject {
    Q_OBJECT
public:
    explicit TColorDialog(QObject* parent = nullptr) : QObject(parent) {}
    TColor Color = clBlack;
    // On OK Color holds the chosen colour as 0x00BBGGRR.
    bool Execute();
};

// Conversions between the dialogs' fonts and ours, in points.
QFont toDialogFont(const TFont& font);
// `font` with the family, size and styles of `chosen`.
TFont fromDialogFont(const QFont& chosen, const TFont& font);

// The Qt name filters for a filter text: each description stays as written, the masks match
// either letter case (names were written for a case-insensitive file system).
QStringList nameFiltersOf(const QString& filter);

// Test hooks. A hook receives the dialog prepared as it would be shown and answers in place of
// the user: the message-box hook clicks a button (or none); the others return true for OK after
// setting the dialog's value (selectFile, setTextValue, setCurrentFont, setCurrentColor).
struct DialogHooks {
    std::function<void(QMessageBox&)> messageBox;
    std::function<bool(QInputDialog&)> inputDialog;
    std::function<bool(QFileDialog&)> fileDialog;
    std::function<bool(QFontDialog&)> fontDialog;
    std::function<bool(QColorDialog&)> colorDialog;
};
DialogHooks& dialogHooks();

// Puts the hooks back as they were when it goes (a test sets hooks for its own scope).
class DialogHooksGuard {
public:
    DialogHooksGuard() : m_saved(dialogHooks()) {}
    ~DialogHooksGuard() { dialogHooks() = m_saved; }
    DialogHooksGuard(const DialogHooksGuard&) = delete;
    DialogHooksGuard& operator=(const DialogHooksGuard&) = delete;

private:
    DialogHooks m_saved;
};

} // namespace platform
