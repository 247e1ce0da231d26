#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QTextEdit;

// Inserting a field code at the caret of an edit: the one operation behind every code list (the
// design window's list under an edited text block, the text entry, circular-text and barcode
// dialogs). The code goes in before the caret's position, a selection is kept (not replaced), the
// edit takes the focus and the caret ends just after the code. No edit: nothing happens.
void InsertFieldCodeAtCaret(QLineEdit* edit, const QString& code);
void InsertFieldCodeAtCaret(QPlainTextEdit* edit, const QString& code);
void InsertFieldCodeAtCaret(QTextEdit* edit, const QString& code);
