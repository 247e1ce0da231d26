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

void prepareImage(const TImage& image, const TFieldMerge& merge, int row, int printIndex,
                  TPictureCache& pictures, TPreparedObject& out)
{
    out.PictureHeight = image.Height;
    if (!image.Hint.startsWith(u'<')) {
        out.Picture = image.Picture();
        return;
    }
    // The merged path is used as it stands, without the picture folders.
    const QString path = platform::findExisting(merge.Merge(image.Hint, row, printIndex));
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
}

} // namespace

TPreparedLabel PrepareLabel(const TDesignModel& model, const TFieldMerge& merge, int row, int printIndex,
                            TPictureCache& pictures)
{
    auto merged = [&](const QString& text) { return merge.Merge(text, row, printIndex); };
    TPreparedLabel label;
    label.Objects.reserve(model.Objects().size());
    for (const auto& owned : model.Objects()) {
        const TDesignObject* object = owned.get();
        TPreparedObject& p = label.Objects.emplace_back();
        p.Object = object;
        switch (object->Kind()) {
        case TDesignObjectKind::Image:
            prepareImage(static_cast<const TImage&>(*object), merge, row, printIndex, pictures, p);
            break;
        case TDesignObjectKind::Label:
            p.Text = merged(static_cast<const TLabel&>(*object).Caption);
            break;
        case TDesignObjectKind::RotateLabel:
            p.Text = merged(static_cast<const TRotateLabel&>(*object).Caption);
            break;
        case TDesignObjectKind::Memo:
            for (const QString& line : static_cast<const TMemo&>(*object).Lines)
                p.Lines << merged(line);
            break;
        case TDesignObjectKind::CircleLabel:
            p.Text = merged(static_cast<const TCircleLabel&>(*object).Caption());
            break;
        case TDesignObjectKind::Barcode: {
            const barcode::TBarcode& barcode = static_cast<const TBarcodeObject&>(*object).Barcode();
            p.Text = merged(barcode.Bar_Caption());
            p.Addon = merged(barcode.Bar_CodeAddon());
            break;
        }
        case TDesignObjectKind::Shape:
        case TDesignObjectKind::Line:
            break;
        }
    }
    return label;
}

} // namespace design
