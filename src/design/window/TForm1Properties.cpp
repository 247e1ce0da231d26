// The design window's right-click property menus: the commands over the window's model and
// selection frame, the design dialogs they open, and what the window does after each.
#include "TForm1.h"
#include "ui_TForm1.h"
#include "ui_TSaisieTexte.h"

#include "FrameSelection.h"
#include "TCircLabDial.h"
#include "TFBarCode.h"
#include "TPropertyMenus.h"
#include "TRotImage.h"
#include "TSaisieTexte.h"

#include "MultiLang/MLang.h"
#include "design/PropertyCommands.h"
#include "platform/HourGlass.h"
#include "platform/window/Application.h"

using namespace design;

void TForm1::setUpPropertyMenus()
{
    m_frameSelection = std::make_unique<TFrameSelection>(
        *SH, [this](const TDesignObject* o) { return ViewOf(o); },
        [this](const QWidget* v) { return ObjectOf(v); }, ui->PaintBox);
    m_propertyCommands = std::make_unique<TPropertyCommands>(*m_model, *m_frameSelection);
    PropertyMenus = new TPropertyMenus(this);
    PropertyMenus->setObjectName(QStringLiteral("PropertyMenus"));
    PropertyMenus->Commands = m_propertyCommands.get();
    PropertyMenus->AfterCommand = [this] { afterPropertyCommand(); };

    TPropertyDialogs& d = m_propertyCommands->Dialogs;
    d = PropertyMenus->StandardDialogs();
    // The codes the window's own field list offers.
    const auto codes = [this] {
        QStringList out;
        for (int i = 0; i < ui->ComboBox->count(); ++i)
            out << ui->ComboBox->itemText(i);
        return out;
    };
    d.EnterText = [this, codes](bool tilted, const QString& current) -> std::optional<QString> {
        TSaisieTexte dialog(this);
        dialog.Prepare(platform::Application::Title(),
                       PropertyMenus->MultiLang1->GetText(tilted ? QStringLiteral("@11") : QStringLiteral("@10")),
                       current, codes());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.ui->Edit1->text();
    };
    d.EditCircleLabel = [this, codes](TCircleLabel& sample) {
        TCircLabDial dialog(this);
        dialog.SetFieldCodes(codes());
        dialog.Load(sample);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        ApplyCircleLabelDialog(sample, dialog.CircleLabel());
        return true;
    };
    d.EditBarcode = [this, codes](TBarcodeObject& sample) {
        TFBarCode dialog(this);
        dialog.SetFieldCodes(codes());
        dialog.Load(sample);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        ApplyBarcodeDialog(sample, dialog.Barcode1());
        return true;
    };
    d.ChooseRotation = [this](const QImage& picture, int angle) -> std::optional<int> {
        std::optional<TRotImage> dialog;
        {
            const platform::HourGlass wait;
            dialog.emplace(picture, angle, this);
        }
        if (dialog->exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog->Angle;
    };
}

void TForm1::afterPropertyCommand()
{
    if (m_model->ObjetCourant != nullptr)
        RectObjetCourant = m_model->ObjetCourant->BoundsRect();
    // A command may have brought objects to the front.
    stackViews();
    ui->PaintBox->update();
    UpdateAlignPalette();
    DesignChanged();
}
