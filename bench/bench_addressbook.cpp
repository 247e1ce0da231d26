// The address book at 100,000 entries of generated names, streets and towns: reading its file,
// sorting on a column, writing it, and importing the same entries from a CSV file. Prints the
// time of each step and the peak memory.
//   bench_addressbook [entries=100000]
#include "addressbook/AddressBook.h"
#include "addressbook/TextExchange.h"
#include "platform/TextFile.h"

#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace addressbook;

namespace {


const char* const Surnames[] = {"Martin", "Bernard", "Dubois", "Thomas", "Robert", "Richard", "Petit", "Durand",
                                "Leroy", "Moreau", "Simon", "Laurent", "Lefèvre", "Michel", "García", "Müller",
                                "Fontaine", "Chevalier", "Rousseau", "Vincent", "Morel", "Girard", "André", "Mercier"};
const char* const FirstNames[] = {"Jean", "Marie", "Pierre", "Anne", "Michel", "Hélène", "Luc", "Zoë",
                                  "François", "Claire", "Paul", "Sophie", "Émile", "Julie", "Noël", "Inès"};
const char* const Streets[] = {"rue de la Paix", "avenue Jean Jaurès", "place du Marché", "chemin des Vignes",
                               "boulevard Victor Hugo", "allée des Tilleuls", "impasse du Moulin", "quai de Saône"};
const char* const Towns[] = {"Paris", "Lyon", "Marseille", "Besançon", "Strasbourg", "Nantes", "Saint-Étienne",
                             "Aix-en-Provence", "Clermont-Ferrand", "Brest", "Rennes", "Orléans"};

template <size_t N> QString pick(const char* const (&list)[N], QRandomGenerator& g)
{
    return QString::fromUtf8(list[g.bounded(static_cast<quint32>(N))]);
}

void generate(TAddressBook& book, int entries)
{
    QRandomGenerator g(14);
    QList<QStringList> rows{book.Grille.Rows(0)};
    rows.reserve(entries + 1);
    for (int i = 0; i < entries; ++i) {
        QStringList r(ColumnCount);
        r[Nom] = pick(Surnames, g) + (i % 7 == 0 ? QStringLiteral("-") + pick(Surnames, g) : QString());
        r[Prenom] = pick(FirstNames, g);
        r[Civil] = g.bounded(2) ? QStringLiteral("Mr") : QStringLiteral("Mrs");
        r[Adresse1] = QString::number(g.bounded(1, 200)) + u' ' + pick(Streets, g);
        r[CP] = QString::number(g.bounded(1000, 96000)).rightJustified(5, u'0');
        r[Ville] = pick(Towns, g);
        r[Pays] = QStringLiteral("France");
        r[Tel] = QStringLiteral("0%1 %2 %3 %4 %5").arg(g.bounded(1, 6)).arg(g.bounded(10, 99)).arg(g.bounded(10, 99))
                     .arg(g.bounded(10, 99)).arg(g.bounded(10, 99));
        if (i % 3 == 0)
            r[Internet] = r[Prenom].toLower() + u'.' + r[Nom].toLower() + QStringLiteral("@example.org");
        if (i % 5 == 0)
            r[Notes] = QStringLiteral("Client since ") + QString::number(1990 + g.bounded(35));
        rows << r;
    }
    book.Grille.Assign(rows);
    book.Grille.PadLists();
}

// The peak from here on is the next step's own: what went before goes back to the system, and
// the kernel's high-water mark starts again from the current size.
void resetPeak()
{
    malloc_trim(0);
    if (QFile clear("/proc/self/clear_refs"); clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double seconds(QElapsedTimer& t)
{
    const double s = t.nsecsElapsed() / 1e9;
    t.restart();
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    QTemporaryDir dir;
    const QString rep = dir.filePath("book.rep");
    const QString csv = dir.filePath("book.csv");
    {
        TAddressBook source;
        generate(source, entries);
        source.EcrireRepertoire(rep);
        platform::writeFileAtomically(csv, ExchangeBytes(source.Grille, 1, source.LastRow(), u';'));
    }
    QElapsedTimer t;
    double load = 0, sortTown = 0, sortName = 0, save = 0, import = 0;
    long bookKb = 0, importKb = 0;
    int loaded = 0, importedCount = 0;
    QString error;
    {
        resetPeak();
        TAddressBook book;
        t.start();
        error = book.LireRepertoire(rep);
        load = seconds(t);
        book.Trier(Ville);
        sortTown = seconds(t);
        book.Trier(Nom);
        sortName = seconds(t);
        book.EcrireRepertoire(rep);
        save = seconds(t);
        loaded = book.NbFiches();
        bookKb = bench::peakKb();
    }
    {
        resetPeak();
        TAddressBook book;
        QList<int> links;
        for (int col = 0; col < ColumnCount; ++col)
            links << col;
        t.restart();
        book.Importer(ReadExchangeRecords(platform::readFileBytes(csv), u';'), links);
        import = seconds(t);
        importedCount = book.NbFiches();
        importKb = bench::peakKb();
    }

    std::printf("address book    %d entries, file %.1f MB%s\n", loaded, QFile(rep).size() / 1048576.0,
                error.isEmpty() ? "" : " (read error!)");
    std::printf("load            %6.3f s\n", load);
    std::printf("sort on town    %6.3f s\n", sortTown);
    std::printf("sort on name    %6.3f s\n", sortName);
    std::printf("save            %6.3f s\n", save);
    std::printf("import CSV      %6.3f s  (%d entries)\n", import, importedCount);
    std::printf("peak RSS        %6.1f MB load, sort and save; %6.1f MB import\n", bookKb / 1024.0,
                importKb / 1024.0);
    return 0;
}
