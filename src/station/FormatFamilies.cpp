#include "FormatFamilies.h"

#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace station {

namespace {

const QString SectionDernierFormat = QStringLiteral("Dernier format");

QString nfc(const QString& s)
{
    return s.normalized(QString::NormalizationForm_C);
}

// Windows-1252 code of a character, characters outside that set after all of it.
int codeTri(QChar c)
{
    const int code = platform::cp1252Code(c);
    return code >= 0 ? code : 0x100 + c.unicode();
}

int comparerNoms(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int d = codeTri(a[i]) - codeTri(b[i]);
        if (d != 0)
            return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QString decrire(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const platform::Exception& x) {
        return x.message();
    } catch (const std::exception& x) {
        return QString::fromLocal8Bit(x.what());
    }
    return {};
}

} // namespace

bool EstFamillePerso(const QString& nom)
{
    return nfc(nom).compare(nfc(NomFamillePerso), Qt::CaseInsensitive) == 0;
}

void MettreFormatParDefaut(platform::TStringGrid& grille, const QString& nomParDefaut)
{
    TLigneFormat::ParDefaut(nomParDefaut).VersGrille(grille, 0);
}

void LireFamilleFormats(const QString& path, platform::TStringGrid& grille, const QString& nomParDefaut)
{
    std::vector<QStringList> lignes;
    if (QFileInfo::exists(path)) {
        platform::TextFileReader in(path);
        while (!in.eof()) {
            QStringList cells;
            for (int c = 0; c < NbCellulesFormat; ++c)
                cells << (in.eof() ? QString() : in.readLine());
            lignes.push_back(cells);
        }
        // A blank line left at the end of a file is not a format.
        while (!lignes.empty()
               && std::all_of(lignes.back().cbegin(), lignes.back().cend(),
                              [](const QString& s) { return s.isEmpty(); }))
            lignes.pop_back();
    }

    grille.SetColCount(NbCellulesFormat);
    if (lignes.empty()) {
        grille.SetRowCount(1);
        MettreFormatParDefaut(grille, nomParDefaut);
        return;
    }
    grille.SetRowCount(static_cast<int>(lignes.size()));
    for (size_t r = 0; r < lignes.size(); ++r)
        grille.SetRow(static_cast<int>(r), lignes[r]);
    if (grille.RowCount() >= 2)
        TrierGrille(grille, 0, grille.RowCount() - 1, cfNom);
}

void EcrireFamilleFormats(const platform::TStringGrid& grille, const QString& path)
{
    platform::TextFileWriter out(path);
    for (int r = 0; r < grille.RowCount(); ++r)
        for (int c = 0; c < grille.ColCount(); ++c)
            out.writeLine(grille.Cell(c, r));
    out.commit();
}

void TrierGrille(platform::TStringGrid& grille, int premier, int dernier, int colonne)
{
    premier = std::max(premier, 0);
    dernier = std::min(dernier, grille.RowCount() - 1);
    if (premier >= dernier)
        return;
    // Stable: formats of the same name keep their file order, so the index of a remembered
    // format still points at it after the family is written and read again.
    std::vector<QStringList> lignes;
    lignes.reserve(static_cast<size_t>(dernier - premier + 1));
    for (int r = premier; r <= dernier; ++r)
        lignes.push_back(grille.Rows(r));
    std::stable_sort(lignes.begin(), lignes.end(), [colonne](const QStringList& a, const QStringList& b) {
        return comparerNoms(a.value(colonne), b.value(colonne)) < 0;
    });
    for (int r = premier; r <= dernier; ++r)
        grille.SetRow(r, lignes[static_cast<size_t>(r - premier)]);
}

int SupprimerFormat(platform::TStringGrid& grille, int row, const QString& nomParDefaut)
{
    const int n = grille.RowCount();
    if (n < 2) {
        MettreFormatParDefaut(grille, nomParDefaut);
        return 0;
    }
    if (row < 0 || row >= n)
        return 0;
    for (int r = row; r < n - 1; ++r)
        grille.SetRow(r, grille.Rows(r + 1));
    grille.SetRow(n - 1, QStringList());
    grille.SetRowCount(n - 1);
    return std::min(row, n - 2);
}

std::vector<TFichierFamille> ListerFamilles(const QString& dossier)
{
    std::vector<TFichierFamille> familles;
    const QDir dir(dossier);
    // Without QDir::CaseSensitive the pattern also takes "*.FOR", as the files were named on
    // systems that ignore letter case.
    const QFileInfoList infos = dir.entryInfoList({QStringLiteral("*.for")}, QDir::Files);
    for (const QFileInfo& fi : infos) {
        const QString fichier = fi.fileName();
        familles.push_back({fichier.left(fichier.indexOf(u'.')), fi.filePath()});
    }
    std::stable_sort(familles.begin(), familles.end(), [](const TFichierFamille& a, const TFichierFamille& b) {
        const int c = a.Nom.compare(b.Nom, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.Chemin < b.Chemin;
    });

    // The exactly spelt custom family wins over one differing only in letter case.
    auto perso = std::find_if(familles.begin(), familles.end(),
                              [](const TFichierFamille& f) { return nfc(f.Nom) == nfc(NomFamillePerso); });
    if (perso == familles.end())
        perso = std::find_if(familles.begin(), familles.end(),
                             [](const TFichierFamille& f) { return EstFamillePerso(f.Nom); });
    if (perso == familles.end()) {
        familles.push_back({NomFamillePerso, dir.filePath(NomFamillePerso + QStringLiteral(".for"))});
    } else {
        const TFichierFamille f = *perso;
        familles.erase(perso);
        familles.push_back(f);
    }
    return familles;
}

TFamillesFormats::TFamillesFormats() = default;
TFamillesFormats::~TFamillesFormats() = default;

QStringList TFamillesFormats::Charger(const QString& dossier, const QString& nomParDefaut)
{
    return Charger(ListerFamilles(dossier), nomParDefaut);
}

QStringList TFamillesFormats::Charger(const std::vector<TFichierFamille>& fichiers, const QString& nomParDefaut)
{
    QStringList erreurs;
    std::vector<TFamille> familles;
    for (const TFichierFamille& f : fichiers) {
        TFamille famille;
        famille.Nom = f.Nom;
        famille.Chemin = f.Chemin;
        famille.Grille = std::make_unique<platform::TStringGrid>();
        famille.Grille->setObjectName(QStringLiteral("Grille%1").arg(familles.size()));
        famille.Grille->SetColCount(NbCellulesFormat);
        try {
            LireFamilleFormats(f.Chemin, *famille.Grille, nomParDefaut);
        } catch (...) {
            erreurs << decrire(std::current_exception());
            famille.Lue = false;
            famille.Grille->SetRowCount(1);
            MettreFormatParDefaut(*famille.Grille, nomParDefaut);
        }
        familles.push_back(std::move(famille));
    }
    m_familles = std::move(familles);
    return erreurs;
}

QStringList TFamillesFormats::Ecrire() const
{
    QStringList erreurs;
    for (const TFamille& f : m_familles) {
        if (!f.Lue)
            continue;
        try {
            EcrireFamilleFormats(*f.Grille, f.Chemin);
        } catch (...) {
            erreurs << decrire(std::current_exception());
        }
    }
    return erreurs;
}

platform::TStringGrid* TFamillesFormats::Grille(int n) const
{
    if (n < 0 || n >= Count())
        return nullptr;
    return m_familles[static_cast<size_t>(n)].Grille.get();
}

TDernierFormat LireDernierFormat(const platform::TIniFile& ini)
{
    TDernierFormat d;
    d.Famille = ini.ReadInteger(SectionDernierFormat, QStringLiteral("Famille"), 0);
    d.Format = ini.ReadInteger(SectionDernierFormat, QStringLiteral("Format"), 0);
    return d;
}

void EcrireDernierFormat(platform::TIniFile& ini, const TDernierFormat& dernier)
{
    ini.EraseSection(SectionDernierFormat);
    ini.WriteInteger(SectionDernierFormat, QStringLiteral("Famille"), dernier.Famille);
    ini.WriteInteger(SectionDernierFormat, QStringLiteral("Format"), dernier.Format);
}

int IndexValide(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

} // namespace station
