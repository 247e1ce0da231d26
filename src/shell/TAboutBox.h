#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;
class TWAVPlayer;

namespace Ui {
class TAboutBox;
}

// "About": the application's title, icon, version and system, with "about.wav" from the program
// folder looping while the box is open (silently without it or without sound output).
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    // The controls, by their names (resources/ui/TAboutBox.ui).
    const std::unique_ptr<Ui::TAboutBox> ui;
    TMultiLang* MultiLang1 = nullptr;
    TWAVPlayer* WAVPlayer = nullptr;

    // The line under the version.
    static QString MakerNotice();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void connectEvents();
    void FormShow();
    void FormActivate();
    void FormClose();
    void BitBtn1Click();
};
