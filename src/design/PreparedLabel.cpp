#include "PreparedLabel.h"

#include "DesignModel.h"
#include "FieldCodes.h"
#include "Pictures.h"

#include "barcode/Barcode.h"
#include "platform/Paths.h"
#include "platform/Rounding.h"

#include <QFileInfo>

#include <functional>

namespace design {

namespace {

// The picture of a field-code image for the record; the others draw their own.
using FieldPicture = std::function<void(const TImage&, TPreparedObject&)>;

void prepareObject(const TDesignObject& object, const std::function<QString(const QString&)>& merged,
                   const FieldPicture& fieldPicture, TPreparedObject& p)
{
    p.Object = &object;
    switch (object.Kind()) {
    case TDesignObjectKind::Image: {
        const auto& image = static_cast<const TImage&>(object);
        p.PictureHeight = image.Height;
        if (!image.Hint.startsWith(u'<'))
            p.Picture = image.Picture();
        else if (fieldPicture)
            fieldPicture(image, p);
        break;
    }
    case TDesignObjectKind::Label:
        p.Text = merged(static_cast<const TLabel&>(object).Caption);
        break;
    case TDesignObjectKind::RotateLabel:
        p.Text = merged(static_cast<const TRotateLabel&>(object).Caption);
        break;
    case TDesignObjectKind::Memo:
        for (const QString& line : static_cast<const TMemo&>(object).Lines)
            p.Lines << merged(line);
        break;
    case TDesignObjectKind::CircleLabel:
        p.Text = merged(static_cast<const TCircleLabel&>(object).Caption());
        break;
    case TDesignObjectKind::Barcode: {
        const barcode::TBarcode& barcode = static_cast<const TBarcodeObject&>(object).Barcode();
        p.Text = merged(barcode.Bar_Caption());
        p.Addon = merged(barcode.Bar_CodeAddon());
        break;
    }
    case TDesignObjectKind::Shape:
    case TDesignObjectKind::Line:
        break;
    }
}

} // namespace

TPreparedLabel PrepareLabel(const TDesignModel& model, const TFieldMerge& merge, int row, int printIndex,
                            TPictureCache& pictures)
{
    const auto merged = [&](const QString& text) { return merge.Merge(text, row, printIndex); };
    const auto fieldPicture = [&](const TImage& image, TPreparedObject& out) {
        // The merged path is used as it stands, without the picture folders.
        const QString path = platform::findExisting(merged(image.Hint));
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
    TPreparedLabel label;
    label.Objects.reserve(model.Objects().size());
    for (const auto& owned : model.Objects())
        prepareObject(*owned, merged, fieldPicture, label.Objects.emplace_back());
    return label;
}

TPreparedObject PrepareAsDesigned(const TDesignObject& object)
{
    TPreparedObject p;
    prepareObject(object, [](const QString& text) { return text; }, nullptr, p);
    return p;
}

} // namespace design
