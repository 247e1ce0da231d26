#include "TPropertyMenus.h"
#include "ui_TPropertyMenus.h"

#include "TFAngle.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSignalBlocker>

#include <array>

using namespace design;
using platform::TBrushStyle;
using platform::TPenStyle;

namespace {

// Checks the item of a group standing for `value`, or none when no item does.
template <class T, std::size_t N>
void markOne(const std::array<std::pair<QAction*, T>, N>& items, T value)
{
    for (const auto& [action, v] : items) {
        const QSignalBlocker blocker(action);
        action->setChecked(v == value);
    }
}

} // namespace

TPropertyMenus::TPropertyMenus(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TPropertyMenus>())
{
    ui->setupUi(this);
    hide();
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TPropertyMenus.txt"));
    MultiLang1->Loaded();
    connectEvents();
}

TPropertyMenus::~TPropertyMenus() = default;

QActionGroup* TPropertyMenus::group(std::initializer_list<QAction*> actions)
{
    // Radio-like: one mark at most, and none when the object's value has no item (a pen 12 wide).
    auto* g = new QActionGroup(this);
    g->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : actions)
        g->addAction(a);
    return g;
}

void TPropertyMenus::connectCommand(QAction* action, std::function<bool()> command)
{
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        if (Commands == nullptr)
            return;
        platform::runReportingErrors([&] { command(); });
        afterCommand();
    });
}

void TPropertyMenus::afterCommand()
{
    // The marks follow the target's values, not the items' own toggling.
    if (Commands != nullptr && Commands->Model().Contains(Commands->ObjetPopup))
        SetMarks(*Commands->ObjetPopup);
    if (AfterCommand)
        AfterCommand();
}

void TPropertyMenus::connectEvents()
{
    auto& u = *ui;
    const auto run = [this](QAction* action, auto member, auto... args) {
        connectCommand(action, [this, member, args...] { return (Commands->*member)(args...); });
    };

    group({u.Autosize, u.Stretch, u.Center});
    group({u.Gauche1, u.Centr1, u.Droite1});
    group({u.N12, u.N5, u.N8, u.N10, u.N11, u.Transparent2});
    group({u.N13, u.N21, u.N31, u.N41, u.N51, u.N61, u.N71, u.N81, u.N91, u.N101});
    group({u.Hachuresmontantes1, u.Hachuresdescendantes1, u.Hachuresmontantesetdescendantes1,
           u.Hachureshorizontales1, u.Hachuresverticales1, u.Hachureshorizontalesetverticales1,
           u.Couleursimple1, u.Transparent3});
    group({u.MenuItem4, u.MenuItem5, u.MenuItem6, u.MenuItem7, u.MenuItem8, u.MenuItem9});
    group({u.MenuItem11, u.MenuItem12, u.MenuItem13, u.MenuItem14, u.MenuItem15, u.MenuItem16,
           u.MenuItem17, u.MenuItem18, u.MenuItem19, u.MenuItem20});
    group({u.MenuItem22, u.Vertical1, u.Montant1, u.Descendant1});
    group({u.MenuItem27, u.MenuItem28, u.MenuItem29});

    connect(u.PopupImage, &QMenu::aboutToShow, this, &TPropertyMenus::PopupImagePopup);
    connect(u.PopupShape, &QMenu::aboutToShow, this, &TPropertyMenus::PopupShapePopup);

    using C = TPropertyCommands;
    run(u.Autosize, &C::PopImageAutosize);
    run(u.Stretch, &C::PopImageStretch);
    run(u.Center, &C::PopImageCenter);
    run(u.Conserverlesproportions1, &C::PopImageProportions);
    run(u.Remplirtoutelaffiche1, &C::PopImageRemplir);
    run(u.Rotation1, &C::Rotation1Click);
    run(u.Premierplan1, &C::Premierplan1Click);

    run(u.Texte1, &C::PopLabelTexte);
    run(u.Police2, &C::PopLabelPolice);
    run(u.Couleur2, &C::PopLabelCouleur);
    run(u.Transparent1, &C::PopLabelTransparent);
    run(u.Gauche1, &C::PopLabelAlignment, taLeftJustify);
    run(u.Centr1, &C::PopLabelAlignment, taCenter);
    run(u.Droite1, &C::PopLabelAlignment, taRightJustify);

    run(u.Texte5, &C::PopRotatelTexte);
    run(u.Police5, &C::PopRotatelPolice);
    run(u.Couleur5, &C::PopRotatelCouleur);
    run(u.Transparent5, &C::PopRotatelTransparent);
    run(u.Angle, &C::PopRotatelAngle);

    run(u.Couleur3, &C::PopShapeCouleurTrait);
    run(u.Couleur4, &C::PopShapeCouleurFond);
    run(u.FrontShape, &C::FrontShapeClick);
    const std::pair<QAction*, TPenStyle> shapeStyles[] = {
        {u.N12, platform::psSolid}, {u.N5, platform::psDash}, {u.N8, platform::psDashDot},
        {u.N10, platform::psDashDotDot}, {u.N11, platform::psDot}, {u.Transparent2, platform::psClear}};
    for (const auto& [action, style] : shapeStyles)
        run(action, &C::PopShapeTrait, style);
    QAction* const shapeWidths[] = {u.N13, u.N21, u.N31, u.N41, u.N51, u.N61, u.N71, u.N81, u.N91, u.N101};
    for (int i = 0; i < 10; ++i)
        run(shapeWidths[i], &C::PopShapeEpaisseur, i + 1);
    const std::pair<QAction*, TBrushStyle> patterns[] = {
        {u.Hachuresmontantes1, platform::bsBDiagonal},
        {u.Hachuresdescendantes1, platform::bsFDiagonal},
        {u.Hachuresmontantesetdescendantes1, platform::bsDiagCross},
        {u.Hachureshorizontales1, platform::bsHorizontal},
        {u.Hachuresverticales1, platform::bsVertical},
        {u.Hachureshorizontalesetverticales1, platform::bsCross},
        {u.Couleursimple1, platform::bsSolid},
        {u.Transparent3, platform::bsClear}};
    for (const auto& [action, style] : patterns)
        run(action, &C::PopShapeMotif, style);

    run(u.MenuItem2, &C::PopLineCouleur);
    const std::pair<QAction*, TPenStyle> lineStyles[] = {
        {u.MenuItem4, platform::psSolid}, {u.MenuItem5, platform::psDash}, {u.MenuItem6, platform::psDashDot},
        {u.MenuItem7, platform::psDashDotDot}, {u.MenuItem8, platform::psDot}, {u.MenuItem9, platform::psClear}};
    for (const auto& [action, style] : lineStyles)
        run(action, &C::PopLineTrait, style);
    QAction* const lineWidths[] = {u.MenuItem11, u.MenuItem12, u.MenuItem13, u.MenuItem14, u.MenuItem15,
                                   u.MenuItem16, u.MenuItem17, u.MenuItem18, u.MenuItem19, u.MenuItem20};
    for (int i = 0; i < 10; ++i)
        run(lineWidths[i], &C::PopLineEpaisseur, i + 1);
    run(u.MenuItem22, &C::PopLineKind, ltHorizontal);
    run(u.Vertical1, &C::PopLineKind, ltVertical);
    run(u.Montant1, &C::PopLineKind, ltUpDiagonal);
    run(u.Descendant1, &C::PopLineKind, ltDownDiagonal);

    run(u.MenuItem24, &C::PopMemoPolice);
    run(u.MenuItem25, &C::PopMemoCouleur);
    run(u.MenuItem27, &C::PopMemoAlignment, taLeftJustify);
    run(u.MenuItem28, &C::PopMemoAlignment, taCenter);
    run(u.MenuItem29, &C::PopMemoAlignment, taRightJustify);
    run(u.MenuItem30, &C::PopMemoBordure);
}

void TPropertyMenus::SetMarks(const TDesignObject& target)
{
    auto& u = *ui;
    const auto mark = [](QAction* action, bool on) {
        const QSignalBlocker blocker(action);
        action->setChecked(on);
    };
    if (const auto* image = As<TImage>(&target)) {
        u.NomChampImage->setVisible(false);
        u.Autosize->setVisible(true);
        u.Center->setVisible(true);
        u.Stretch->setVisible(!IsIconPicture(*image));
        mark(u.Autosize, image->AutoSize());
        mark(u.Stretch, image->Stretch);
        mark(u.Center, image->Center);
        mark(u.Conserverlesproportions1, DecodeImageTag(image->Tag).KeepProportions);
    } else if (const auto* label = As<TLabel>(&target)) {
        mark(u.Transparent1, label->Transparent);
        markOne(std::array{std::pair{u.Gauche1, taLeftJustify}, std::pair{u.Centr1, taCenter},
                           std::pair{u.Droite1, taRightJustify}},
                label->Alignment);
    } else if (const auto* tilted = As<TRotateLabel>(&target)) {
        mark(u.Transparent5, tilted->Transparent);
    } else if (const auto* shape = As<TShape>(&target)) {
        markOne(std::array{std::pair{u.N12, platform::psSolid}, std::pair{u.N5, platform::psDash},
                           std::pair{u.N8, platform::psDashDot}, std::pair{u.N10, platform::psDashDotDot},
                           std::pair{u.N11, platform::psDot}, std::pair{u.Transparent2, platform::psClear}},
                shape->Pen.Style());
        markOne(std::array{std::pair{u.N13, 1}, std::pair{u.N21, 2}, std::pair{u.N31, 3}, std::pair{u.N41, 4},
                           std::pair{u.N51, 5}, std::pair{u.N61, 6}, std::pair{u.N71, 7}, std::pair{u.N81, 8},
                           std::pair{u.N91, 9}, std::pair{u.N101, 10}},
                shape->Pen.Width());
        markOne(std::array{std::pair{u.Hachuresmontantes1, platform::bsBDiagonal},
                           std::pair{u.Hachuresdescendantes1, platform::bsFDiagonal},
                           std::pair{u.Hachuresmontantesetdescendantes1, platform::bsDiagCross},
                           std::pair{u.Hachureshorizontales1, platform::bsHorizontal},
                           std::pair{u.Hachuresverticales1, platform::bsVertical},
                           std::pair{u.Hachureshorizontalesetverticales1, platform::bsCross},
                           std::pair{u.Couleursimple1, platform::bsSolid},
                           std::pair{u.Transparent3, platform::bsClear}},
                shape->Brush.Style());
    } else if (const auto* line = As<TLine>(&target)) {
        markOne(std::array{std::pair{u.MenuItem4, platform::psSolid}, std::pair{u.MenuItem5, platform::psDash},
                           std::pair{u.MenuItem6, platform::psDashDot},
                           std::pair{u.MenuItem7, platform::psDashDotDot},
                           std::pair{u.MenuItem8, platform::psDot}, std::pair{u.MenuItem9, platform::psClear}},
                line->Pen.Style());
        markOne(std::array{std::pair{u.MenuItem11, 1}, std::pair{u.MenuItem12, 2}, std::pair{u.MenuItem13, 3},
                           std::pair{u.MenuItem14, 4}, std::pair{u.MenuItem15, 5}, std::pair{u.MenuItem16, 6},
                           std::pair{u.MenuItem17, 7}, std::pair{u.MenuItem18, 8}, std::pair{u.MenuItem19, 9},
                           std::pair{u.MenuItem20, 10}},
                line->Pen.Width());
        markOne(std::array{std::pair{u.MenuItem22, ltHorizontal}, std::pair{u.Vertical1, ltVertical},
                           std::pair{u.Montant1, ltUpDiagonal}, std::pair{u.Descendant1, ltDownDiagonal}},
                line->Line());
    } else if (const auto* memo = As<TMemo>(&target)) {
        mark(u.MenuItem30, memo->BorderStyle == bsSingle);
        markOne(std::array{std::pair{u.MenuItem27, taLeftJustify}, std::pair{u.MenuItem28, taCenter},
                           std::pair{u.MenuItem29, taRightJustify}},
                memo->Alignment);
    }
}

void TPropertyMenus::PopupImagePopup()
{
    ui->Premierplan1->setEnabled(Commands != nullptr && Commands->Model().ObjectsOf<TImage>().size() >= 2);
    // Turning needs the rotation dialog, which the window gives.
    ui->Rotation1->setEnabled(Commands != nullptr && Commands->Dialogs.ChooseRotation != nullptr);
}

void TPropertyMenus::PopupShapePopup()
{
    ui->FrontShape->setEnabled(Commands != nullptr && Commands->Model().ObjectsOf<TShape>().size() >= 2);
}

QMenu* TPropertyMenus::Prepare(TDesignObject* clicked)
{
    if (Commands == nullptr)
        return nullptr;
    TPopupMenuKind kind = TPopupMenuKind::None;
    const bool ran = platform::runReportingErrors([&] { kind = Commands->RightClick(clicked); });
    QMenu* menu = nullptr;
    switch (ran ? kind : TPopupMenuKind::None) {
    case TPopupMenuKind::Image:
        menu = ui->PopupImage;
        break;
    case TPopupMenuKind::Label:
        menu = ui->PopupLabel;
        break;
    case TPopupMenuKind::RotateLabel:
        menu = ui->PopupRotatel;
        break;
    case TPopupMenuKind::Shape:
        menu = ui->PopupShape;
        break;
    case TPopupMenuKind::Line:
        menu = ui->PopupLine;
        break;
    case TPopupMenuKind::Memo:
        menu = ui->PopupMemo;
        break;
    case TPopupMenuKind::CircleLabel:
    case TPopupMenuKind::Barcode:
    case TPopupMenuKind::None:
        break;
    }
    if (menu != nullptr)
        SetMarks(*clicked);
    return menu;
}

void TPropertyMenus::ObjectMouseDown(TDesignObject* clicked, QPoint globalPos)
{
    if (QMenu* menu = Prepare(clicked))
        menu->exec(globalPos);
    if (AfterCommand)
        AfterCommand();
}

TPropertyDialogs TPropertyMenus::StandardDialogs()
{
    TPropertyDialogs d;
    d.ChooseColor = [](platform::TColor current) -> std::optional<platform::TColor> {
        platform::TColorDialog dialog;
        dialog.Color = current;
        if (!dialog.Execute())
            return std::nullopt;
        return dialog.Color;
    };
    d.ChooseFont = [this](const platform::TFont& current) -> std::optional<platform::TFont> {
        platform::TFontDialog dialog;
        dialog.ColorCaption = MultiLang1->GetText(QStringLiteral("@12"));
        dialog.Font = current;
        if (!dialog.Execute())
            return std::nullopt;
        return dialog.Font;
    };
    d.EnterText = [this](bool tilted, const QString& current) -> std::optional<QString> {
        QString text = current;
        if (!platform::InputQuery(platform::Application::Title(),
                                  MultiLang1->GetText(tilted ? QStringLiteral("@11") : QStringLiteral("@10")),
                                  text))
            return std::nullopt;
        return text;
    };
    d.ChooseAngle = [this](int current) -> std::optional<int> {
        TFAngle dialog(window());
        dialog.setWindowTitle(MultiLang1->GetText(QStringLiteral("@9")));
        dialog.Angle = current;
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Angle;
    };
    return d;
}
