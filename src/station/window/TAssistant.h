#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TAssistant;
}

namespace station {

// The printing wizard: the station's page, or one of the three mailings. The station sets what
// can be offered, shows it modally and acts on the choice.
class TAssistant : public QDialog {
    Q_OBJECT
public:
    explicit TAssistant(QWidget* parent = nullptr);
    ~TAssistant() override;
    const std::unique_ptr<Ui::TAssistant> ui;
    TMultiLang* MultiLang1 = nullptr;

    // What the station offers, set before showing.
    bool PagePrintable = false;
    bool MailingAvailable = false;
    bool DesignSelected = false;
    bool DatabaseAvailable = true;

    // The checked choice, 1 to 4.
    int Choix() const;
    void SetChoix(int choice);
    // Enables the choices the station offers and moves the check off one that is not.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace station
