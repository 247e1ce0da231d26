#include "design/window/FieldCodeEdits.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

TEST(FieldCodeEdits, LineEditInsertsAtTheCaretAndKeepsASelection)
{
    QLineEdit e("Hello world");
    e.setCursorPosition(6);
    InsertFieldCodeAtCaret(&e, "<FirstName>");
    EXPECT_EQ(e.text(), "Hello <FirstName>world");
    EXPECT_EQ(e.cursorPosition(), 17);
    EXPECT_FALSE(e.hasSelectedText());

    e.setText("abcdef");
    e.setSelection(1, 3); // "bcd" stays
    InsertFieldCodeAtCaret(&e, "<X>");
    EXPECT_EQ(e.text(), "a<X>bcdef");
    EXPECT_EQ(e.cursorPosition(), 4);
    InsertFieldCodeAtCaret(static_cast<QLineEdit*>(nullptr), "<X>");
}

TEST(FieldCodeEdits, MultiLineEdits)
{
    QPlainTextEdit p;
    p.setPlainText("line one\nline two");
    QTextCursor c = p.textCursor();
    c.setPosition(9);
    c.setPosition(13, QTextCursor::KeepAnchor);
    p.setTextCursor(c);
    InsertFieldCodeAtCaret(&p, "<Town>");
    EXPECT_EQ(p.toPlainText(), "line one\n<Town>line two");
    EXPECT_EQ(p.textCursor().position(), 15);
    EXPECT_FALSE(p.textCursor().hasSelection());

    QTextEdit t;
    t.setPlainText("ab");
    QTextCursor tc = t.textCursor();
    tc.setPosition(2);
    t.setTextCursor(tc);
    InsertFieldCodeAtCaret(&t, "<Date1>");
    EXPECT_EQ(t.toPlainText(), "ab<Date1>");
    EXPECT_EQ(t.textCursor().position(), 9);
}
