#include "PreparedLabel.h"

#include "DesignModel.h"
#include "FieldCodes.h"
#include "Pictures.h"

#include "barcode/Barcode.h"
#include "platform/Paths.h"
#include "platform/Rounding.h"

#include <QFileInfo>


namespace design {

namespace {

// The texts of an object that are merged, in the order prepareObject merges them.
QStringList mergedTexts(const TDesignObject& object)
{
    switch (object.Kind()) {
    case TDesignObjectKind::Image:
        return {static_cast<const TImage&>(object).Hint};
    case TDesignObjectKind::Label:
        return {static_cast<const TLabel&>(object).Caption};
    case TDesignObjectKind::RotateLabel:
        return {static_cast<const TRotateLabel&>(object).Caption};
    case TDesignObjectKind::Memo:
        return static_cast<const TMemo&>(object).Lines;
    case TDesignObjectKind::CircleLabel:
        return {static_cast<const TCircleLabel&>(object).Caption()};
    case TDesignObjectKind::Barcode: {
        const barcode::TBarcode& barcode = static_cast<const TBarcodeObject&>(object).Barcode();
        return {barcode.Bar_Caption(), barcode.Bar_CodeAddon()};
    }
    case TDesignObjectKind::Shape:
    case TDesignObjectKind::Line:
        break;
    }
    return {};
}

// `merged(i, text)` merges the object's i-th text (mergedTexts); `fieldPicture(image, merged
// hint, p)` gives a field-code image its picture for the record, when it is given.
template <class Merged, class FieldPicture>
void prepareObject(const TDesignObject& object, const Merged& merged, const FieldPicture& fieldPicture,
                   TPreparedObject& p)
{
    p.Object = &object;
    switch (object.Kind()) {
    case TDesignObjectKind::Image: {
        const auto& image = static_cast<const TImage&>(object);
        p.PictureHeight = image.Height;
        if (!image.Hint.startsWith(u'<'))
            p.Picture = image.Picture();
        else
            fieldPicture(image, merged(0, image.Hint), p);
        break;
    }
    case TDesignObjectKind::Label:
        p.Text = merged(0, static_cast<const TLabel&>(object).Caption);
        break;
    case TDesignObjectKind::RotateLabel:
        p.Text = merged(0, static_cast<const TRotateLabel&>(object).Caption);
        break;
    case TDesignObjectKind::Memo: {
        const QStringList& lines = static_cast<const TMemo&>(object).Lines;
        for (int i = 0; i < lines.size(); ++i)
            p.Lines << merged(i, lines[i]);
        break;
    }
    case TDesignObjectKind::CircleLabel:
        p.Text = merged(0, static_cast<const TCircleLabel&>(object).Caption());
        break;
    case TDesignObjectKind::Barcode: {
        const barcode::TBarcode& barcode = static_cast<const TBarcodeObject&>(object).Barcode();
        p.Text = merged(0, barcode.Bar_Caption());
        p.Addon = merged(1, barcode.Bar_CodeAddon());
        break;
    }
    case TDesignObjectKind::Shape:
    case TDesignObjectKind::Line:
        break;
    }
}

} // namespace

TLabelPreparation::TLabelPreparation(const TDesignModel& model, const TFieldMerge& merge)
    : m_model(model), m_merge(merge)
{
    m_plans.reserve(model.Objects().size());
    for (const auto& owned : model.Objects()) {
        std::vector<TMergePlan>& plans = m_plans.emplace_back();
        for (const QString& text : mergedTexts(*owned))
            plans.push_back(merge.Plan(text));
    }
}

void TLabelPreparation::Prepare(int row, int printIndex, TPictureCache& pictures, TPreparedLabel& label) const
{
    const auto& objects = m_model.Objects();
    label.Objects.clear();
    label.Objects.reserve(objects.size());
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const std::vector<TMergePlan>& plans = m_plans[k];
        const auto merged = [&](int i, const QString&) { return m_merge.Merge(plans[static_cast<std::size_t>(i)], row, printIndex); };
        const auto fieldPicture = [&](const TImage& image, const QString& hint, TPreparedObject& out) {
            // The merged path is used as it stands, without the picture folders.
            const QString path = platform::findExisting(hint);
            if (path.isEmpty() || !QFileInfo(path).isFile())
                return;
            const QString ext = QFileInfo(path).suffix().toUpper();
            out.Graphic = ext == u"ICO" || ext == u"WMF";
            const TImageTag tag = DecodeImageTag(image.Tag);
            // The proportions are those of the object's placeholder, not of the record's picture.
            const QSize own = image.PlaceholderSize;
            if (tag.KeepProportions && own.width() > 0 && own.height() > 0)
                out.PictureHeight = R(static_cast<double>(image.Width) * own.height() / own.width());
            out.Picture = pictures.Picture(path, tag.Angle);
        };
        prepareObject(*objects[k], merged, fieldPicture, label.Objects.emplace_back());
    }
}

TPreparedLabel PrepareLabel(const TDesignModel& model, const TFieldMerge& merge, int row, int printIndex,
                            TPictureCache& pictures)
{
    TPreparedLabel label;
    TLabelPreparation(model, merge).Prepare(row, printIndex, pictures, label);
    return label;
}

TPreparedObject PrepareAsDesigned(const TDesignObject& object)
{
    TPreparedObject p;
    prepareObject(
        object, [](int, const QString& text) { return text; },
        [](const TImage&, const QString&, TPreparedObject&) {}, p);
    return p;
}

} // namespace design
