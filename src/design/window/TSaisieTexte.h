#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TSaisieTexte;
}

// The text entry of the text commands: a prompt, the text, and the field codes of the merge
// source to insert at the caret. The caller sets the caption, Label1, Edit1 and the codes, and
// after OK takes Edit1 (an empty text keeps the old one: see TakeText).
class TSaisieTexte : public QDialog {
    Q_OBJECT
public:
    explicit TSaisieTexte(QWidget* parent = nullptr);
    ~TSaisieTexte() override;

    const std::unique_ptr<Ui::TSaisieTexte> ui;
    TMultiLang* MultiLang1 = nullptr;

    // Presets the dialog: caption, prompt, text and codes (the first code selected).
    void Prepare(const QString& caption, const QString& prompt, const QString& text, const QStringList& codes);
    // Runs it; the text typed after OK, `old` after Cancel or when the text was emptied.
    QString TakeText(const QString& old);

    void InsererCode();

protected:
    void showEvent(QShowEvent* event) override;
};
