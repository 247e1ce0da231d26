#pragma once

#include "design/Alignment.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QToolButton;
class TMultiLang;
class TStretchHandle;

namespace Ui {
class TAligne;
}

namespace design {
class TDesignObject;
}

// The alignment palette: a small tool window over the design window that aligns, centres and
// spaces the selected objects (design::AlignObjects) and fits the selection frame to them again.
// It reads the selection and the label through the hooks its editor gives.
class TAligne : public QDialog {
    Q_OBJECT
public:
    explicit TAligne(QWidget* parent = nullptr);
    ~TAligne() override;

    const std::unique_ptr<Ui::TAligne> ui;
    TMultiLang* MultiLang1 = nullptr;

    // --- What the editor gives ---
    // The selected objects in the order they were attached (the first is the reference).
    std::function<std::vector<design::TDesignObject*>()> Selection;
    // The label's size in design pixels.
    std::function<QSize()> LabelSize;
    // Something moved: the design is modified.
    std::function<void()> Modified;
    // The editor's selection frame and the surface it stands on.
    TStretchHandle* SH = nullptr;
    QWidget* PaintBox = nullptr;

    // Each button's command.
    void AgBtnClick() { Align(design::TAlignCommand::Lefts); }
    void AchBtnClick() { Align(design::TAlignCommand::HorizontalCentres); }
    void ChBtnClick() { Align(design::TAlignCommand::CentreAcross); }
    void ErhBtnClick() { Align(design::TAlignCommand::SpaceHorizontally); }
    void AdBtnClick() { Align(design::TAlignCommand::Rights); }
    void AhBtnClick() { Align(design::TAlignCommand::Tops); }
    void AcvBtnClick() { Align(design::TAlignCommand::VerticalCentres); }
    void CvBtnClick() { Align(design::TAlignCommand::CentreDown); }
    void ErvBtnClick() { Align(design::TAlignCommand::SpaceVertically); }
    void AbBtnClick() { Align(design::TAlignCommand::Bottoms); }
    void Align(design::TAlignCommand command);

    // Fits the frame to the attached objects after they changed: each object's view takes its
    // record again, then the frame is emptied and the same views attached in the same order.
    void RefreshSelection();
    static void RefreshSelection(TStretchHandle& sh, QWidget* paintBox);

    // The buttons a selection of `count` objects can use (the editor calls it on every change).
    void UpdateButtons(int count);
    QToolButton* Button(design::TAlignCommand command) const;

    // The palette's place from the settings ([Palette] x and y), by default near the bottom
    // right of the editor's rectangle; kept as saved even off screen.

    // The width a palette needs for `title` in its title bar, in `font` (shown bold there).
    static int TitleWidth(const QString& title, const QFont& font);

signals:
    // The palette was closed or hidden (Escape too): the editor releases its palette button.
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectEvents();
    void setPictures();
    void fitTitle();
};
