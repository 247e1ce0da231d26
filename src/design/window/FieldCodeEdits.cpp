#include "FieldCodeEdits.h"

#include "design/FieldCodes.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

namespace {

// The caret as the edit reports it: the start of the selection when there is one.
template <class Edit>
void insertInDocument(Edit* edit, const QString& code)
{
    QTextCursor cursor = edit->textCursor();
    const int s = std::min(cursor.selectionStart(), cursor.selectionEnd());
    const design::CodeInsertion r = design::InsertFieldCode(edit->toPlainText(), s, code);
    cursor.clearSelection();
    cursor.setPosition(s);
    cursor.insertText(code); // as one undo step, without touching the rest of the text
    cursor.setPosition(r.Caret);
    edit->setTextCursor(cursor);
    edit->setFocus();
}

} // namespace

void InsertFieldCodeAtCaret(QLineEdit* edit, const QString& code)
{
    if (edit == nullptr)
        return;
    const int s = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const design::CodeInsertion r = design::InsertFieldCode(edit->text(), s, code);
    edit->setText(r.Text);
    edit->setCursorPosition(r.Caret);
    edit->setFocus();
}

void InsertFieldCodeAtCaret(QPlainTextEdit* edit, const QString& code)
{
    if (edit != nullptr)
        insertInDocument(edit, code);
}

void InsertFieldCodeAtCaret(QTextEdit* edit, const QString& code)
{
    if (edit != nullptr)
        insertInDocument(edit, code);
}
