#pragma once

#include "design/DesignModel.h"

#include <QSize>
#include <QString>

// The station's rules that do not need its window: when two formats may share a page, the
// thumbnail's size, the window's proportional sizing, the hints of the merge buttons and the
// help page.
namespace station {

// The largest sheet side in 1/100 mm: the scale base of every sheet drawing.
constexpr int TailleMaxPlanche = 33500;

// A model may join the models on a page when its format and the page's agree in every length,
// count and the round flag; their names do not matter.
bool FormatsAgree(const design::TCurrentFormat& page, const design::TCurrentFormat& model);
// The question asked when they do not: "@9" for a page of one label, "@10" for more.
QString IncompatibleQuestionKey(int filledCells);

// The thumbnail of a label of a x b design pixels in a panel: stretched to four fifths of the
// panel along the label's longer side when the label does not fit, else at its own size; centred.
// A label without a width or height has no thumbnail (Visible false).
struct TThumbnail {
    bool Visible = false;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    // Thumbnail pixels per design pixel.
    double Scale = 0;
};
TThumbnail ThumbnailGeometry(int labelWidthPx, int labelHeightPx, int panelWidth, int panelHeight);

// The window keeps 4:3: the side that changed more leads, the other follows, never below
// 640 x 480.
QSize KeepFourThirds(QSize previous, QSize wanted);
// The thumbnail panel's side for a client height, and the list's tab stop (percent of its width).
int ThumbnailPanelSide(int clientHeight);
int TabStopPercent(int listWidth);
// Page pixels per 1/100 mm for the page frame's width (0 for a frame too small to draw in).
double PageScale(int frameWidth);

// Hints of the merge buttons; `texts` gives each "@" key its text in the interface language.
struct THintTexts {
    QString RepFichAct = QStringLiteral("Address-book (active entry : ");
    QString Repert = QStringLiteral("Address-book");
    QString BasDonn = QStringLiteral("Database ");
    QString FichAct = QStringLiteral(" (active entry : ");
    QString SansNom = QStringLiteral("UNNAMED");
    QString DatabaseInUse = QStringLiteral("The database ");
    QString InUseForMerging = QStringLiteral(" is currently in use for merging");
    QString AddressBookInUse = QStringLiteral("The address-book is currently in use for merging");
};
// The open database's name: its file name without extension, upper-cased; "UNNAMED" for none.
QString DatabaseName(const QString& databaseFile, const THintTexts& texts);
QString AddressBookHint(const QString& firstName, const QString& surname, const THintTexts& texts);
QString DatabaseHint(const QString& databaseName, const QString& firstField, const THintTexts& texts);
QString SwitchHint(bool databaseIsSource, const QString& databaseName, const THintTexts& texts);

// The printing wizard's choices: 1 the station's page, 2 simple address labels, 3 a design with
// the address book, 4 a design with the database. The page is offered while it can be printed,
// the mailings while the program can run them (the database's while one can be merged), the
// designs while one is selected; a choice that is not offered gives way to the page, else to the
// address labels.
struct TWizardChoices {
    int Checked = 1;
    bool Enabled[5] = {false, false, false, false, false}; // by choice, [0] unused
    bool CanConfirm() const { return Enabled[Checked]; }
};
TWizardChoices ChoixAssistant(int checked, bool pagePrintable, bool mailingAvailable, bool designSelected,
                              bool databaseAvailable = true);

// The help page of a language (0 French, 1 English, ... 6 Italian), relative to the program
// folder: "help/QuorelE.html" for English.
QString HelpPage(int language);

} // namespace station
