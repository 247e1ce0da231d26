#pragma once

#include "design/DesignModel.h"

#include <QString>
#include <QStringList>

#include <vector>

// The station's list of label designs ("models"): every design file of the models folder, with
// the label size its header gives. Each entry keeps the real path of its file, so a design named
// with dots ("v1.2 badge.car") or saved as ".CAR" is listed, measured and found under its own
// name, whatever the letter case of its extension.
namespace station {

// A design's header as the station reads it: the label size in 1/100 mm, and for files that
// carry one (version 7 and above) the sheet format the design was made for.
struct TModelHeader {
    int Version = 0;
    int Width = 0;
    int Height = 0;
    bool HasFormat = false;
    design::TCurrentFormat Format;
};

// Reads the header of a design file. Beyond what the design reader refuses, a version-7 header
// whose label and gap add up to nothing, or on whose A4 sheet not one label fits across or down,
// is refused (a conversion error naming the file): the sheet it describes cannot hold a label.
// Counts of later versions are held to 1..50.
TModelHeader ReadModelHeader(const QString& path);

// The label size of a file that ReadModelHeader refused, as far as it could be read: the first
// two lines converted by the version the third gives; without a version, the numbers as read
// (0 for one that could not be read).
void PartialModelSize(const QString& path, int& width, int& height);

// A list line: the name, a tab, then "(85,00 x 54,00 mm)".
QString ModelLine(const QString& name, int widthHundredthsMm, int heightHundredthsMm);

struct TModelEntry {
    QString Name;
    QString Path;
    int Width = 0;
    int Height = 0;
    bool Readable = true;
    QString Line() const { return ModelLine(Name, Width, Height); }
};

struct TModelList {
    std::vector<TModelEntry> Models;
    // The files whose header could not be read, as "name: reason".
    QStringList Errors;

    int Count() const { return static_cast<int>(Models.size()); }
    // The entry of a name, letter case ignored; -1 when there is none.
    int IndexOf(const QString& name) const;
};

// The design files ("*.car", any letter case) of the folders, sorted by name without letter
// case. A name found in an earlier folder hides the same name in a later one (the user's own
// designs before the shipped examples).
TModelList ListModels(const QStringList& folders);

} // namespace station
