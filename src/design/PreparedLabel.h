#pragma once

#include "FieldCodes.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

// The preparation of one label before it is drawn: everything that depends on the record and on
// files (the merge of the texts, the field codes, numbering and dates, the barcodes' captions,
// the pictures). Painting then only reads the design and this prepared label: it touches no
// file, sets no cursor and writes nothing in the design, so one design can be drawn by several
// views, a preview and a print loop at once.
namespace design {

class TDesignModel;
class TDesignObject;
class TFieldMerge;
class TPictureCache;

// One object of the design as it is drawn for the record.
struct TPreparedObject {
    const TDesignObject* Object = nullptr;
    // Simple, tilted and circular texts and the barcode's caption, merged.
    QString Text;
    // A text block's lines, merged.
    QStringList Lines;
    // The barcode's add-on, merged.
    QString Addon;
    // An image's picture for this record: its own, or the one its field code names (turned by
    // its angle); null when nothing is drawn.
    QImage Picture;
    // The picture is an icon or a metafile: drawn as a graphic, never sent as a printer bitmap.
    bool Graphic = false;
    // The image's height for this drawing (a field picture keeping proportions takes those of
    // its placeholder); the design keeps its own.
    int PictureHeight = 0;
};

// The objects of the design in the design's order, one prepared object each.
struct TPreparedLabel {
    std::vector<TPreparedObject> Objects;
};

// The preparation of a run of labels from one design: what the design's texts need that is the
// same for every record (where their field codes stand) is found once, and each label only fills
// in its record. The design must stay as it is while the preparation is used; nothing of a
// record is kept.
class TLabelPreparation {
public:
    TLabelPreparation(const TDesignModel& model, const TFieldMerge& merge);
    // As PrepareLabel; `label`'s storage is taken again.
    void Prepare(int row, int printIndex, TPictureCache& pictures, TPreparedLabel& label) const;

private:
    const TDesignModel& m_model;
    const TFieldMerge& m_merge;
    // Per object of the design, the plans of its texts in the order the preparation merges them.
    std::vector<std::vector<TMergePlan>> m_plans;
};

// Prepares the design for the record at `row` of the merge source, `printIndex` -1 on screen or
// the 1-based position of the label in the print run ("<Autonum>"). A field picture is looked up
// as its merged path stands (without the picture folders, letter case ignored when the exact
// name is missing) and read through the cache; a path that names no file draws nothing. Errors
// of reading a picture pass to the caller.
TPreparedLabel PrepareLabel(const TDesignModel& model, const TFieldMerge& merge, int row, int printIndex,
                            TPictureCache& pictures);

// One object as the design surface shows it: texts as typed (field codes unmerged), an image's
// own picture. A field-code image gets no picture: the surface shows its placeholder.
TPreparedObject PrepareAsDesigned(const TDesignObject& object);

} // namespace design
