// The design window's right-click property menus: the commands over the window's model and
// selection frame, and what the window does after each.
#include "TForm1.h"
#include "ui_TForm1.h"

#include "FrameSelection.h"
#include "TPropertyMenus.h"

#include "design/PropertyCommands.h"

using namespace design;

void TForm1::setUpPropertyMenus()
{
    m_frameSelection = std::make_unique<TFrameSelection>(
        *SH, [this](const TDesignObject* o) { return ViewOf(o); },
        [this](const QWidget* v) { return ObjectOf(v); });
    m_propertyCommands = std::make_unique<TPropertyCommands>(*m_model, *m_frameSelection);
    PropertyMenus = new TPropertyMenus(this);
    PropertyMenus->setObjectName(QStringLiteral("PropertyMenus"));
    PropertyMenus->Commands = m_propertyCommands.get();
    PropertyMenus->AfterCommand = [this] { afterPropertyCommand(); };
    m_propertyCommands->Dialogs = PropertyMenus->StandardDialogs();
}

void TForm1::afterPropertyCommand()
{
    if (m_model->ObjetCourant != nullptr)
        RectObjetCourant = m_model->ObjetCourant->BoundsRect();
    ui->PaintBox->update();
    UpdateAlignPalette();
}
