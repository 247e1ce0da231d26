#pragma once

#include "Numbering.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace platform {
class TStringGrid;
}

// Field codes: a field name between angle brackets in a label text, filled in from a record of
// the merge source when the label is drawn.
namespace design {

// Replaces every occurrence of `code` in `text`, scanning left to right. ASCII letters compare
// without case; accented letters must match exactly. An inserted value is never searched again,
// so a value holding the code is not expanded.
QString ReplaceAllText(QString text, const QString& code, const QString& value);

// The address book's sixteen codes in the order the code lists offer them (title, first name,
// surname, ...), in French and in English; the design window holds the list in the interface
// language.
const QStringList& RepertItemsFrench();
const QStringList& RepertItemsEnglish();

// The code of an address-book column 0-15, taken from `repertItems` (a list in the order above);
// empty for a column outside 0-15 or a list too short to hold it.
QString GetRepertFieldCode(int column, const QStringList& repertItems = RepertItemsEnglish());

inline const QString AutonumCode = QStringLiteral("<Autonum>");
inline const QString Date1Code = QStringLiteral("<Date1>");
inline const QString Date2Code = QStringLiteral("<Date2>");

// The merge source: the address-book grid or a database grid, with row 0 holding the titles.
struct MergeSource {
    const platform::TStringGrid* Grille = nullptr; // none: texts are merged with the special codes only
    bool IsDatabase = false;                       // codes are "<" + title + ">" (else address-book codes)
    QStringList RepertItems = RepertItemsEnglish(); // the address-book codes in the interface language
};

// The code of a column of the merge source.
QString ColumnFieldCode(const MergeSource& source, int column);

// Merges one text for one record: the column codes first, then "<Autonum>" (only when printing:
// printIndex is 1-based, -1 on screen), then "<Date1>" and "<Date2>". A record value that holds a
// special code is thus replaced too.
QString MergeFields(const QString& text, const MergeSource& source, int row, int printIndex,
                    const MergeNumbering& numbering);

// Where the codes of one text stand, found once for a run of labels (TFieldMerge::Plan): the
// text cut into literal pieces and codes, which each label only fills in with its record.
struct TMergePlan {
    // A piece's Code: a column of the merge source (0 and up) or one of these.
    enum Code : int { Literal = -1, Autonum = -2, Date1 = -3, Date2 = -4 };
    struct Piece {
        qsizetype From = 0;
        qsizetype Length = 0;
        int Code = Literal;
    };
    QString Text;
    // The text holds no '<': it is its own merge.
    bool Plain = true;
    // Merged by searching, code after code: a '<' that starts no code, or codes of the merge
    // source that could run into each other.
    bool Searched = false;
    std::vector<Piece> Pieces;
};

// The merge of a run of labels (a print run, a mailing, a preview): the column codes are found
// once for the run instead of for every text of every label. The grid's titles and column count
// are read when the run starts; its cells when a text is merged. Merges as MergeFields does.
class TFieldMerge {
public:
    TFieldMerge(const MergeSource& source, const MergeNumbering& numbering);
    QString Merge(const QString& text, int row, int printIndex) const;

    // A text's codes, found once; merging the plan gives what merging the text gives.
    TMergePlan Plan(const QString& text) const;
    QString Merge(const TMergePlan& plan, int row, int printIndex) const;

private:
    const platform::TStringGrid* m_grid;
    QStringList m_codes; // by column; an empty code is not merged
    MergeNumbering m_numbering;
    // Every code is '<', a name without '<' or '>', then '>', and the dates hold no '<': a code
    // then only ever stands where the text has one, and plans can be filled in.
    bool m_plannable = true;
};

// The codes the design window and its dialogs offer, in order: for the text lists (the text
// block list, text entry, circular text and the barcode's two lists) and for the image list, which
// never offers the special codes.
struct FieldLists {
    QStringList TextCodes;
    QStringList ImageCodes;
};
FieldLists FieldListItems(const MergeSource& source);

// Inserting a code at the caret of an edit: the text before the caret, the code, then the rest;
// a selection is not replaced. Returns the new text and caret (just after the code).
struct CodeInsertion {
    QString Text;
    int Caret = 0;
};
CodeInsertion InsertFieldCode(const QString& text, int caret, const QString& code);

} // namespace design
