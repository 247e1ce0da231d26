#pragma once

#include "addressbook/AddressBook.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TListe;
}

namespace addressbook {

class TFiche;
class TFind;

// The address book's window: it holds the book, never shown to the user (the record card is
// the book's face), and runs the book's commands for the card: add, delete, sort, find, import,
// export. Its grid view shows every record, for whoever wants the whole table at once.
class TListe : public QWidget {
    Q_OBJECT
public:
    // Reads [Colonnes] and [Options] "LastRow" from the settings file, then the book from the
    // settings file's name with ".rep" when that file holds anything.
    explicit TListe(const QString& settingsFile, QWidget* parent = nullptr);
    ~TListe() override;

    const std::unique_ptr<Ui::TListe> ui;
    TMultiLang* MultiLang1 = nullptr;
    TAddressBook Book;
    platform::TStringGrid& Grille() { return Book.Grille; }
    QString FichierIni;
    // The records of the last import, kept until the next one.
    QList<QStringList> ImportGrille;

    void SetFiche(TFiche* fiche);
    TFiche* Fiche() const;
    TFind* FindDialog();
    // Closes the find dialog when it is open (the card closing).
    void CloseFind();

    // What else shows the current record (the station's thumbnail and hint, the live preview).
    std::function<void()> RecordShown;
    // Runs a modal dialog of the book (sort, fields association); tests answer in its place.
    std::function<int(QDialog&)> ExecDialog = [](QDialog& d) { return d.exec(); };

    // Reads a book file, reporting a damaged one (its readable entries are kept).
    void LireRepertoire(const QString& path);
    void AfficherFiche();
    void Ajouter1Click();
    void Enlever1Click(int top, int bottom);
    void SortBtnClick();
    void Trier(int column);
    void FindBtnClick();
    void Importer1Click();
    void Exporter1Click();
    // The exit: the settings keys, then the book's file. Returns the failures, one message each.
    QStringList FormDestroy();

    QString GetText(const QString& key) const;

private:
    void applyColumnWidths();
    QPointer<TFiche> m_fiche;
    QPointer<TFind> m_find;
    int m_importFilter = 2;
    int m_exportFilter = 2;
    bool m_destroyed = false;
};

} // namespace addressbook
