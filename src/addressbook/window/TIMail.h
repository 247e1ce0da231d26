#pragma once

#include "platform/Graphics.h"

#include <QDialog>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TIMail;
}

namespace platform {
class TIniFile;
}

namespace addressbook {

// The mailing options: the series copies, the frames, the font of address labels (or the
// numbering of designs), the first label, and the preview, print and printer setup.
class TIMail : public QDialog {
    Q_OBJECT
public:
    explicit TIMail(QWidget* parent = nullptr);
    ~TIMail() override;
    const std::unique_ptr<Ui::TIMail> ui;
    TMultiLang* MultiLang1 = nullptr;

    // The font of address labels, at 96 pixels per inch (the hidden label Police shows it).
    platform::TFont Police() const { return m_police; }
    void SetPolice(const platform::TFont& font);
    // [Options] "Cadre" and the [Police] section of the settings file.
    void FormCreate(const platform::TIniFile& ini);
    void WriteSettings(platform::TIniFile& ini) const;

    // The wizard's choice (2 address labels, 3 and 4 designs): the caption and the font button.
    void SetChoix(int choice);
    int Choix() const { return m_choice; }
    int Series() const;

    // The chain: the message refreshed, the numbering dialog, the first label, the preview,
    // previous, print, cancel and the printer setup.
    std::function<void()> MajMessagePlanches;
    std::function<void()> Numerotation;
    std::function<void()> PremiereEtiquette;
    std::function<void()> Apercu;
    std::function<void()> Precedent;
    std::function<void()> Imprimer;
    std::function<void()> Annuler;
    std::function<void()> ConfigImprimante;
    // The window closes (the sheet preview of the first label goes with it).
    std::function<void()> Fermeture;

    QString GetText(const QString& key) const;
    void FontBtnClick();
    void SpinEditChange();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::TFont m_police;
    int m_choice = 2;
};

} // namespace addressbook
