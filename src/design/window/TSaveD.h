#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TSaveD;
}

// The save-as dialog: the name of the design, checked before the dialog closes on OK. A name
// that cannot become a design file of its own ("/", "\", dots, control characters; see
// design::AcceptableDesignName) or that the folder refuses is reported with "@1" and the dialog
// stays open; an existing design is replaced only after Yes to "@2". The caller saves to Path()
// when exec() answers Accepted and NomAccepte is set.
class TSaveD : public QDialog {
    Q_OBJECT
public:
    // `designsFolder` is the folder of the designs ("perso"); Edit1 starts empty.
    explicit TSaveD(const QString& designsFolder, QWidget* parent = nullptr);
    ~TSaveD() override;

    const std::unique_ptr<Ui::TSaveD> ui;
    TMultiLang* MultiLang1 = nullptr;

    bool OKPresse = false;
    bool NomAccepte = false;

    // The design file for the name typed: an existing design whose name differs only in letter
    // case is that design (replacing it, not writing a twin the list would show twice).
    QString Path() const;

    // The closing check; false keeps the dialog open.
    bool FormCloseQuery(bool ok);
    void Edit1Change();

    // Closing goes through FormCloseQuery.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectEvents();
    QString m_folder;
};
