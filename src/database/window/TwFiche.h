#pragma once

#include "database/TableFile.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class TMultiLang;

namespace Ui {
class TwFiche;
}

namespace database {

class TwForm1;

// The database card: one record as captioned edits the user places by dragging the captions
// (the places are saved with the table), with the record navigation. It shows what the database
// window's current record is; typing in an edit changes that record's cell at once.
class TwFiche : public QWidget {
    Q_OBJECT
public:
    // Stays above `owner`; its position comes from the settings file.
    TwFiche(TwForm1* owner, const QString& settingsFile);
    ~TwFiche() override;

    const std::unique_ptr<Ui::TwFiche> ui;
    TMultiLang* MultiLang1 = nullptr;
    std::array<QLabel*, MaxFields> Labels{};
    std::array<QLineEdit*, MaxFields> Edits{};

    // The record shown (a grid row), kept here rather than read back from the caption.
    int NumeroFiche = 1;
    bool Deplacement = false;
    int DebutX = 0;
    int DebutY = 0;

    QString GetText(const QString& key) const;

    // Shows the table's current record: caption, captions and edits of the fields, the others
    // hidden, the navigation buttons that can move.
    void ShowRecord();
    // Puts captions and edits where the table's card layout says, and the card at its size.
    void ApplyLayout();
    void OrdreTabulation();
    // An edit changed by the user: its cell takes the text.
    void ModifieListe(int field);
    // Selects `length` characters from `start` in a field's edit and makes it the active one.
    void SelectInEdit(int field, int start, int length);

    void BeginBtnClick();
    void RewBtnClick();
    void FFBtnClick();
    void EndBtnClick();
    void PlusBtnClick();
    void MoinsBtnClick();
    void FindBtnClick();
    void PrintBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectEvents();
    void placeField(int field, QPoint captionPos);
    bool captionMouse(int field, QEvent* event);

    TwForm1* m_owner;
};

} // namespace database
