#pragma once

#include "station/SheetFormat.h"

#include <QString>

class QWidget;

namespace station {

// What the format window and the format editor need of the sheet preview: fill its fields from
// one format, switch its first-label choice off, show and close it. The preview window
// implements it; the format window works without one (its preview button is then disabled).
class TPreviewPort {
public:
    virtual ~TPreviewPort() = default;
    virtual bool EstVisible() const = 0;
    virtual void SetChoixDepart(bool choix) = 0;
    // Takes the format's geometry and the caption, then draws the sheet.
    virtual void Remplir(const TSheetPreview& apercu, const QString& caption) = 0;
    // Shows the preview for the window `owner`, beside it when it was hidden.
    virtual void Montrer(QWidget* owner) = 0;
    virtual void Fermer() = 0;
};

} // namespace station
