#pragma once

#include "station/FormatFamilies.h"
#include "station/SheetFormat.h"

#include <QDialog>
#include <functional>

#include <memory>

class TMultiLang;

namespace Ui {
class TFormat;
}

namespace platform {
class TIniFile;
class TStringGrid;
}

namespace station {

class TPreviewPort;

// The format window: lists the sheet-format families and their formats, holds every family in
// memory from start to exit, and answers the page-geometry questions of the station, the sheet
// page, the print loop, the preview and the mailing for the selected format. The station shows
// it as a modal dialog; the mailing shows it as a wizard step.
class TFormat : public QDialog {
    Q_OBJECT
public:
    // Reads every family of `folder` and the remembered selection from `settingsFile`.
    explicit TFormat(QWidget* parent, const QString& folder, const QString& settingsFile);
    explicit TFormat(QWidget* parent = nullptr);
    ~TFormat() override;

    // The controls, by their names (resources/ui/TFormat.ui): the family list `ComboBox`, the
    // format list `ListBox`, the paper of the selected format `Label2`, the preview `BitBtn1`, the
    // wizard steps `BitBtn2` and `BitBtn3`.
    const std::unique_ptr<Ui::TFormat> ui;
    TMultiLang* MultiLang1 = nullptr;

    // Run-time texts of the window's table in the active language.
    QString GetText(const QString& key) const;
    TPaperNames PaperNames() const;

    TTypePapier TypePapier(const QString& name) const;
    QString NomPapier(TTypePapier type) const;
    QString NomPapierFormat(const QString& name) const;
    int LargeurPage(const QString& name, int labelWidth, int columns, int horizontalGap) const;
    int HauteurPage(const QString& name, int labelHeight) const;
    // The margin of the selected format: `value` itself, or the centring margin for "99999".
    QString CalculerMarge(const QString& value, TMarginDirection direction) const;

    // The family grids, "Grille0", "Grille1", ... in family-list order.
    int FamilyCount() const { return m_families.Count(); }
    platform::TStringGrid* Grille(int family) const { return m_families.Grid(family); }
    const TFormatFamilies& Families() const { return m_families; }
    TFormatFamilies& Families() { return m_families; }
    // Shows family `family` and chooses its row `row` (the design window's format command).
    void ShowFormat(int family, int row);
    // The grid of the family selected in the family list.
    platform::TStringGrid* GrilleCourante() const;
    // The row of the current grid at the format list's selected index.
    TLigneFormat SelectedFormat() const;

    void MettreFormatParDefaut(platform::TStringGrid& grid) const;
    void LireFamilleFormats(const QString& path, platform::TStringGrid& grid) const;
    void RemplirListeFormats();
    void ActiverBoutons();
    void Previsualiser();

    void ComboBoxChange();
    void ListBoxClick();
    void ListBoxDblClick();
    void NewBtnClick();
    void ModifBtnClick();
    void DeleteBtnClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // Button dress: the station's modal dialog (OK and Cancel) or the mailing's wizard step.
    void UseDialogButtons();
    void UseWizardButtons();

    // Writes every family to its file; returns one message per family that could not be written.
    QStringList SaveFamilies() const;
    // The "Dernier format" section of the settings file, from the two lists' selections.
    void WriteLastFormat(platform::TIniFile& ini) const;

    // The sheet preview, owned elsewhere; none disables the preview button.
    void SetPreview(TPreviewPort* preview);
    // The format editor: called with true to create a format, false to change the selected one.
    // Until one is given, Create and Modify stay disabled.
    void SetEditor(std::function<void(bool create)> editor);
    // The format editor on the selected format (a copy of it when creating); on OK the row is
    // stored in the current family, a created one at its end. This is the editor until
    // SetEditor gives another.
    void EditerFormat(bool create);

signals:
    void Previous();
    void Next();
    // Every way out that is not OK or a wizard step: the mailing enables its button again.
    void Cancelled();

public slots:
    void done(int r) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectEvents();
    void load(const QString& folder, const QString& settingsFile);
    void selectFormat(int index);
    bool customFamilyChosen() const;

    TFormatFamilies m_families;
    TPreviewPort* m_preview = nullptr;
    std::function<void(bool)> m_editor;
    // Where the layout puts Cancel for the dialog; the wizard puts it in OK's place.
    QPoint m_cancelDialogPos;
};

} // namespace station
