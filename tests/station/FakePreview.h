#pragma once

#include "station/window/PreviewPort.h"

// A sheet preview that records what the format windows ask of it, in place of the real window.
namespace stationtest {

class FakePrevis : public station::TPreviewPort {
public:
    bool EstVisible() const override { return visible; }
    void SetChoixDepart(bool choix) override { choixDepart = choix; }
    void Remplir(const station::TSheetPreview& a, const QString& c) override
    {
        apercu = a;
        caption = c;
        ++remplissages;
    }
    void Montrer(QWidget*) override { visible = true; }
    void Fermer() override { visible = false; }

    bool visible = false;
    bool choixDepart = true;
    station::TSheetPreview apercu;
    QString caption;
    int remplissages = 0;
};

} // namespace stationtest
