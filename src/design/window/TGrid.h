#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TGrid;
}

namespace platform {
class TIniFile;
}

// The grid dialog: the design window's two grid steps in pixels, 5 to 32, held by its two scroll
// bars (they are the only storage, so a value read from the settings comes back within range).
class TGrid : public QDialog {
    Q_OBJECT
public:
    explicit TGrid(QWidget* parent = nullptr);
    ~TGrid() override;

    const std::unique_ptr<Ui::TGrid> ui;
    TMultiLang* MultiLang1 = nullptr;

    int GrilleX() const;
    int GrilleY() const;

    // [Options] GrilleX and GrilleY, default 8.
    void ReadSettings(const platform::TIniFile& ini);
    void WriteSettings(platform::TIniFile& ini) const;

    // The size command: shows both values, runs the dialog; Cancel puts the values back. True
    // when the user confirmed (the window then draws its grid and snaps with the new steps).
    bool Execute();

    void ScrollBar1Change();
    void ScrollBar2Change();

private:
    void connectEvents();
};
