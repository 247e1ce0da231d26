// The tools around the design surface: rulers, alignment palette, grid size, live preview, and
// the dialogs that name a design and choose a picture file.
#include "TForm1.h"
#include "ui_TForm1.h"
#include "ui_TGrid.h"
#include "ui_TImportImage.h"
#include "ui_TSaveD.h"

#include "Rulers.h"
#include "TAligne.h"
#include "TGrid.h"
#include "TImportImage.h"
#include "TOpenDial.h"
#include "TPreview.h"
#include "TSaveD.h"
#include "TStretchHandle.h"

#include "design/DesignDocument.h"
#include "design/RulerTicks.h"
#include "platform/Screen.h"
#include "platform/window/WindowPlace.h"
#include "station/Station.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollBar>
#include <QSignalBlocker>

using namespace design;

void TForm1::setUpTools()
{
    placeRulers();

    Aligne = new TAligne(this);
    Aligne->Selection = [this] { return Selection(); };
    Aligne->LabelSize = [this] { return QSize(m_model->LargeurEtiquettePx, m_model->HauteurEtiquettePx); };
    Aligne->Modified = [this] {
        DesignEdited();
        if (m_model->ObjetCourant != nullptr)
            RectObjetCourant = m_model->ObjetCourant->BoundsRect();
    };
    Aligne->SH = SH;
    Aligne->PaintBox = ui->PaintBox;
    platform::RestoreWindowPlace(
        Aligne, {m_station.Settings.PaletteX, m_station.Settings.PaletteY, Aligne->width(), Aligne->height()});
    connect(Aligne, &TAligne::closed, this, [this] {
        const QSignalBlocker blocker(ui->PaletteBtn);
        ui->PaletteBtn->setChecked(false);
        const platform::TWindowPlace place = platform::SaveWindowPlace(Aligne);
        m_station.Settings.PaletteX = place.X;
        m_station.Settings.PaletteY = place.Y;
    });
    connect(ui->PaletteBtn, &QToolButton::clicked, this, [this] { PaletteBtnClick(); });

    Grid = new TGrid(this);
    connect(ui->Dimensions1, &QAction::triggered, this, [this] { Dimensions1Click(); });
    connect(ui->Rgles1, &QAction::triggered, this, [this] { Rgles1Click(); });

    Preview = new TPreview(*m_model, this);
    Preview->MergeGrid = [this]() -> const platform::TStringGrid* {
        return MergeSourceHook ? MergeSourceHook().Grille : nullptr;
    };
    Preview->DatabaseIsSource = [this] { return DatabaseIsSource && DatabaseIsSource(); };
    Preview->Numbering = [this] { return NumberingHook ? NumberingHook() : MergeNumbering{}; };
    connect(ui->PreviewBtn, &QToolButton::clicked, this, [this] { PreviewBtnClick(); });

    AskDesignName = [this](const QString& preset) {
        TSaveD dialog(DesignsFolder(programFolder()), this);
        dialog.ui->Edit1->setText(preset);
        return dialog.exec() == QDialog::Accepted && dialog.NomAccepte ? dialog.ui->Edit1->text() : QString();
    };
    ChoosePictureSource = [this]() -> std::optional<TPictureChoice> {
        if (!m_importImage)
            m_importImage = new TImportImage(this);
        QComboBox* codes = m_importImage->ui->ComboBox;
        codes->clear();
        codes->addItems(FieldListItems(MergeSourceHook ? MergeSourceHook() : MergeSource{}).TextCodes);
        if (m_importImage->exec() != QDialog::Accepted)
            return std::nullopt;
        return TPictureChoice{m_importImage->Source(), m_importImage->FieldCode()};
    };
    ChoosePictureFile = [this](const QString& start) {
        TOpenDial dialog(start, Apercu, this);
        dialog.exec();
        Apercu = dialog.Apercu();
        m_station.Settings.Apercu = Apercu;
        return dialog.OKPresse ? dialog.FileName() : QString();
    };
}

void TForm1::placeRulers()
{
    // The surface's scroll box gets the vertical ruler at its right and the horizontal one below.
    auto* main = static_cast<QBoxLayout*>(ui->centralWidget->layout());
    const int index = main->indexOf(ui->ScrollBox);
    const int stretch = main->stretch(index);
    main->removeWidget(ui->ScrollBox);
    auto* surround = new QGridLayout;
    surround->setObjectName(QStringLiteral("rulersLayout"));
    surround->setSpacing(0);
    HRuler = new THRuler(ui->centralWidget);
    HRuler->setObjectName(QStringLiteral("HRuler"));
    VRuler = new TVRuler(ui->centralWidget);
    VRuler->setObjectName(QStringLiteral("VRuler"));
    HRuler->SetAlignHRuler(alBottom);
    VRuler->SetAlignVRuler(alRight);
    QFont font = HRuler->font();
    font.setPointSize(8);
    for (TRuler* r : {static_cast<TRuler*>(HRuler), static_cast<TRuler*>(VRuler)}) {
        r->SetColor(platform::clBtnFace);
        r->setFont(font);
    }
    HRuler->setFixedHeight(20);
    HRuler->setMinimumWidth(0);
    VRuler->setFixedWidth(20);
    VRuler->setMinimumHeight(0);
    HRuler->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    VRuler->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    surround->addWidget(ui->ScrollBox, 0, 0);
    surround->addWidget(VRuler, 0, 1);
    surround->addWidget(HRuler, 1, 0);
    main->insertLayout(index, surround, stretch);
    // The rulers follow the surface's scrolling in whole millimetres of the screen.
    connect(ui->ScrollBox->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int v) { HRuler->SetOrig(RulerOrigin(v, platform::ScreenPixelsPerInch())); });
    connect(ui->ScrollBox->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int v) { VRuler->SetOrig(RulerOrigin(v, platform::ScreenPixelsPerInch())); });
}

void TForm1::Rgles1Click()
{
    const bool shown = ui->Rgles1->isChecked();
    HRuler->setVisible(shown);
    VRuler->setVisible(shown);
    m_station.Settings.Regles = shown;
}

void TForm1::Dimensions1Click()
{
    Grid->ui->ScrollBar1->setValue(GrilleX);
    Grid->ui->ScrollBar2->setValue(GrilleY);
    if (!Grid->Execute())
        return;
    GrilleX = Grid->GrilleX();
    GrilleY = Grid->GrilleY();
    m_station.Settings.GrilleX = GrilleX;
    m_station.Settings.GrilleY = GrilleY;
    if (ui->Visible1->isChecked())
        ui->PaintBox->update();
    ApplyFrameSnapping();
}

void TForm1::PaletteBtnClick()
{
    if (!ui->PaletteBtn->isChecked()) {
        Aligne->close();
        return;
    }
    UpdateAlignPalette();
    Aligne->show();
    Aligne->raise();
}

void TForm1::PreviewBtnClick(QWidget* owner, const QRect& keepClear)
{
    if (owner == nullptr && isVisible()) {
        // Watched while designing: the surface and the palette stay in sight.
        QRect design = frameGeometry();
        if (Aligne->isVisible())
            design |= Aligne->frameGeometry();
        Preview->Execute(this, design);
        return;
    }
    // The station's button asks while this window is hidden: the preview opens beside the station.
    Preview->Execute(owner != nullptr ? owner : QApplication::activeWindow(), keepClear);
}

void TForm1::RefreshPreview()
{
    if (Preview != nullptr && Preview->isVisible())
        Preview->PaintBoxPaint();
}
