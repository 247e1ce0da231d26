#pragma once

#include <QString>
#include <QStringList>

// A window's translation table as it is shipped: the number of languages and the flat `Words`
// list (per row the key, then one text per language). The file format is described in
// TranslationTable.cpp.
// The languages the program has: French, English, German, Spanish, Portuguese, Dutch, Italian.
constexpr int ProgramLanguages = 7;

struct TranslationTable {
    int Languages = ProgramLanguages;
    QStringList Words;
};

// Reads a table from a file or a compiled-in resource (":/lang/TFormat.txt"). Throws
// platform::EInOutError when it cannot be read or a row is malformed, naming the line.
TranslationTable readTranslationTable(const QString& path);
TranslationTable parseTranslationTable(const QString& text, const QString& name);
