#include "StationSettings.h"

#include "design/Numbering.h"
#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/TextFile.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

namespace station {

using platform::TIniFile;

namespace {
const QString MainW = QStringLiteral("MainW");
const QString Editeur = QStringLiteral("Editeur");
const QString Palette = QStringLiteral("Palette");
const QString Options = QStringLiteral("Options");
const QString Police = QStringLiteral("Police");

// A window's section is written afresh: its place, then whether it is maximised.
void writePlace(TIniFile& ini, const QString& section, const TWindowPlace& place)
{
    ini.EraseSection(section);
    ini.WriteInteger(section, "x", place.X);
    ini.WriteInteger(section, "y", place.Y);
    ini.WriteInteger(section, "w", place.W);
    ini.WriteInteger(section, "h", place.H);
    ini.WriteBool(section, "Maxi", place.Maxi);
}

QString failure(const std::exception& e)
{
    if (const auto* p = dynamic_cast<const platform::Exception*>(&e))
        return p->message();
    return QString::fromUtf8(e.what());
}
} // namespace

TStationSettings ReadStationSettings(const TIniFile& ini, QSize screen, const QString& defaultImages)
{
    TStationSettings s;
    s.Main.Maxi = ini.ReadBool(MainW, "Maxi", true);
    s.Main.W = ini.ReadInteger(MainW, "w", 640);
    s.Main.H = ini.ReadInteger(MainW, "h", 480);
    s.Main.X = ini.ReadInteger(MainW, "x", (screen.width() - s.Main.W) / 2);
    s.Main.Y = ini.ReadInteger(MainW, "y", (screen.height() - s.Main.H) / 2);
    s.Coupe = ini.ReadBool(MainW, "coupe", false);
    s.Wysiwyg = ini.ReadBool(MainW, "wysiwyg", true);
    s.Switch = ini.ReadBool(MainW, "switch", false);

    s.Editor.X = ini.ReadInteger(Editeur, "x", (screen.width() - 640) / 2);
    s.Editor.Y = ini.ReadInteger(Editeur, "y", (screen.height() - 480) / 2);
    s.Editor.W = ini.ReadInteger(Editeur, "w", 640);
    s.Editor.H = ini.ReadInteger(Editeur, "h", 480);
    s.Editor.Maxi = ini.ReadBool(Editeur, "Maxi", false);
    s.PaletteX = ini.ReadInteger(Palette, "x", s.Editor.X + s.Editor.W - 200);
    s.PaletteY = ini.ReadInteger(Palette, "y", s.Editor.Y + s.Editor.H - 126);

    s.LastFormat = ReadLastFormat(ini);

    s.Regles = ini.ReadBool(Options, QStringLiteral("Règles"), true);
    s.GrilleAct = ini.ReadBool(Options, "Grilleact", false);
    s.GrilleVis = ini.ReadBool(Options, "Grillevis", false);
    s.Apercu = ini.ReadBool(Options, QStringLiteral("Aperçu"), true);
    s.GrilleX = ini.ReadInteger(Options, "GrilleX", 8);
    s.GrilleY = ini.ReadInteger(Options, "GrilleY", 8);
    s.FirstTime = ini.ReadBool(Options, "FirstTime", true);
    s.CheminImagesPerso = ini.ReadString(Options, "CheminImagesPerso", defaultImages);
    s.Paysage = ini.ReadBool(Options, "paysage", false);
    s.Cadre = ini.ReadBool(Options, "Cadre", false);

    s.Couleur = ini.ReadInteger(Police, "couleur", 0);
    s.Hauteur = ini.ReadInteger(Police, "hauteur", -12);
    s.Nom = ini.ReadString(Police, "nom", QStringLiteral("arial"));
    s.Taille = ini.ReadInteger(Police, "taille", 9);
    s.Gras = ini.ReadBool(Police, "gras", false);
    s.Italique = ini.ReadBool(Police, "italique", false);
    s.Souligne = ini.ReadBool(Police, QStringLiteral("souligné"), false);
    s.Barre = ini.ReadBool(Police, QStringLiteral("barré"), false);
    return s;
}

void WriteStationSettings(TIniFile& ini, const TStationSettings& s,
                          const std::function<void(TIniFile&)>& writeNumbering)
{
    writePlace(ini, MainW, s.Main);
    ini.WriteBool(MainW, "coupe", s.Coupe);
    ini.WriteBool(MainW, "wysiwyg", s.Wysiwyg);
    ini.WriteBool(MainW, "switch", s.Switch);

    writePlace(ini, Editeur, s.Editor);

    ini.EraseSection(Palette);
    ini.WriteInteger(Palette, "x", s.PaletteX);
    ini.WriteInteger(Palette, "y", s.PaletteY);

    WriteLastFormat(ini, s.LastFormat);

    ini.EraseSection(Options);
    ini.WriteBool(Options, QStringLiteral("Règles"), s.Regles);
    ini.WriteBool(Options, "Grilleact", s.GrilleAct);
    ini.WriteBool(Options, "Grillevis", s.GrilleVis);
    ini.WriteInteger(Options, "GrilleX", s.GrilleX);
    ini.WriteInteger(Options, "GrilleY", s.GrilleY);
    ini.WriteBool(Options, "FirstTime", s.FirstTime);
    ini.WriteBool(Options, "Cadre", s.Cadre);

    ini.EraseSection(Police);
    ini.WriteInteger(Police, "couleur", s.Couleur);
    ini.WriteInteger(Police, "hauteur", s.Hauteur);
    ini.WriteString(Police, "nom", s.Nom);
    ini.WriteInteger(Police, "taille", s.Taille);
    ini.WriteBool(Police, "gras", s.Gras);
    ini.WriteBool(Police, "italique", s.Italique);
    ini.WriteBool(Police, QStringLiteral("souligné"), s.Souligne);
    ini.WriteBool(Police, QStringLiteral("barré"), s.Barre);

    ini.WriteBool(Options, QStringLiteral("Aperçu"), s.Apercu);
    ini.WriteInteger(Options, "Langue", 1);
    ini.WriteString(Options, "CheminImagesPerso", s.CheminImagesPerso);

    // Without the numbering dialog (never opened in this run) the numbering and dates are
    // written as the file holds them, so the sections are there and a bad value is mended.
    if (writeNumbering)
        writeNumbering(ini);
    else
        design::WriteNumberingSettings(ini, design::ReadNumberingSettings(ini, QDate::currentDate()));
}

QStringList RunExitSequence(const QString& settingsFile, const TStationSettings& settings,
                            const TExitSteps& steps)
{
    QStringList failures;
    try {
        // The pass runs on a copy, so that a failure half-way (or the settings object writing
        // itself when it goes) can never leave the real file with a section erased.
        QTemporaryDir scratch;
        if (!scratch.isValid())
            throw platform::EInOutError(QStringLiteral("No temporary folder for the settings"));
        const QString copy = scratch.filePath(QStringLiteral("settings.ini"));
        if (QFile::exists(settingsFile))
            platform::writeFileAtomically(copy, platform::readFileBytes(settingsFile));
        QByteArray bytes;
        {
            TIniFile ini(copy);
            WriteStationSettings(ini, settings, steps.WriteNumbering);
            bytes = ini.bytes();
        }
        platform::writeFileAtomically(settingsFile, bytes);
    } catch (const std::exception& e) {
        failures << failure(e);
    }
    if (steps.WriteFamilies) {
        try {
            failures << steps.WriteFamilies();
        } catch (const std::exception& e) {
            failures << failure(e);
        }
    }
    if (steps.SaveDatabase) {
        try {
            steps.SaveDatabase();
        } catch (const std::exception& e) {
            failures << failure(e);
        }
    }
    return failures;
}

} // namespace station
