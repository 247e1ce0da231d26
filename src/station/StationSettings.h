#pragma once

#include "FormatFamilies.h"
#include "platform/TWindowPlace.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {
class TIniFile;
}

// The settings file as the station reads it at start and rewrites it at exit. The station holds
// the keys of every window that has settings; a window that exists gives its current values
// before the exit, the others keep the values read at start, so nothing is lost through a run in
// which a window was never created.
namespace station {

using platform::TWindowPlace;

struct TStationSettings {
    // [MainW]
    TWindowPlace Main{0, 0, 640, 480, true};
    bool Coupe = false;
    bool Wysiwyg = true;
    bool Switch = false; // the active database is the merge source
    // [Editeur], [Palette]
    TWindowPlace Editor;
    int PaletteX = 0;
    int PaletteY = 0;
    // [Dernier format]
    TLastFormat LastFormat;
    // [Options]
    bool Regles = true;
    bool GrilleAct = false;
    bool GrilleVis = false;
    bool Apercu = true;
    int GrilleX = 8;
    int GrilleY = 8;
    bool FirstTime = true;
    QString CheminImagesPerso;
    bool Paysage = false; // read, never written
    bool Cadre = false;
    // [Police]: the mailing font.
    int Couleur = 0;
    int Hauteur = -12;
    QString Nom = QStringLiteral("arial");
    int Taille = 9;
    bool Gras = false;
    bool Italique = false;
    bool Souligne = false;
    bool Barre = false;
};

// Reads every key above; missing keys and values that are not numbers give the defaults, window
// positions centred on a screen of `screen` pixels.
TStationSettings ReadStationSettings(const platform::TIniFile& ini, QSize screen,
                                     const QString& defaultImagesFolder);

// The settings part of the exit, in the file's order: [MainW], [Editeur], [Palette],
// [Dernier format], [Options] and [Police] erased and rewritten, then "Aperçu", "Langue" (1) and
// "CheminImagesPerso" added to [Options]; `writeNumbering` then writes [NumAuto] and [Dateurs]
// (not erased), or without it they are written back as read (defaults for what cannot be read).
// "paysage" is not written.
void WriteStationSettings(platform::TIniFile& ini, const TStationSettings& settings,
                          const std::function<void(platform::TIniFile&)>& writeNumbering);

// The rest of the exit.
struct TExitSteps {
    std::function<void(platform::TIniFile&)> WriteNumbering; // [NumAuto] and [Dateurs]
    std::function<QStringList()> WriteFamilies;              // one message per family not written
    std::function<void()> SaveDatabase;                      // the open database, when there is one
};

// The whole exit: the settings are prepared apart and replace the file at once (a failure
// leaves the file as it was, never a section erased and not rewritten); then every family is
// written on its own and the database saved, whatever happened to the settings. Returns every
// failure, one message each (empty when all went well).
QStringList RunExitSequence(const QString& settingsFile, const TStationSettings& settings,
                            const TExitSteps& steps);

} // namespace station
