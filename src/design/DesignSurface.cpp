#include "DesignSurface.h"

#include "Pictures.h"

#include "imaging/Binding.h"

#include "platform/Errors.h"
#include "platform/FileUtils.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <algorithm>

namespace design {

namespace {

// Converted pictures are kept in true colour, whatever the screen.
constexpr int kTwinBits = 24;

} // namespace

int WorkSurfaceSide(int largestSheetHundredthsMm, int pixelsPerInch)
{
    return platform::R(platform::R(largestSheetHundredthsMm / 100.0) * pixelsPerInch / 25.4);
}

QPoint SnapPoint(QPoint p, int gridX, int gridY)
{
    const int x = gridX > 0 ? gridX * (p.x() / gridX) : p.x();
    const int y = gridY > 0 ? gridY * (p.y() / gridY) : p.y();
    return {x, y};
}

QString PointerPositionText(int x, int y, double screenPixelsPerInch)
{
    if (screenPixelsPerInch <= 0)
        return {};
    return QStringLiteral("x=%1mm, y=%2mm")
        .arg(platform::R(x * 25.4 / screenPixelsPerInch))
        .arg(platform::R(y * 25.4 / screenPixelsPerInch));
}

std::vector<QPoint> GridDots(int labelWidth, int labelHeight, int gridX, int gridY)
{
    std::vector<QPoint> dots;
    const int stepX = std::max(1, gridX);
    const int stepY = std::max(1, gridY);
    for (int y = 1; y == 1 || y < labelHeight; y += stepY)
        for (int x = 1; x == 1 || x < labelWidth; x += stepX)
            dots.emplace_back(x, y);
    return dots;
}

void DrawGrid(platform::TCanvas& canvas, int labelWidth, int labelHeight, int gridX, int gridY)
{
    for (const QPoint& p : GridDots(labelWidth, labelHeight, gridX, gridY))
        canvas.SetPixel(p.x(), p.y(), platform::clSilver);
}

platform::TRect OrderedRect(int x1, int y1, int x2, int y2)
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

std::vector<TDesignObject*> ObjectsInRect(const TDesignModel& model, const platform::TRect& rect)
{
    std::vector<TDesignObject*> out;
    for (const auto& o : model.Objects()) {
        const platform::TRect b = o->BoundsRect();
        // The intersection of the two, right and bottom edges excluded, must hold a pixel: a
        // click without a drag selects nothing, a band over one pixel of an object selects it.
        const bool across = std::max(b.Left, rect.Left) < std::min(b.Right, rect.Right)
                            && std::max(b.Top, rect.Top) < std::min(b.Bottom, rect.Bottom);
        if (across)
            out.push_back(o.get());
    }
    return out;
}

QString ImportPictureFile(const QString& sourcePath, const QString& imagesFolder, bool* made)
{
    if (made != nullptr)
        *made = false;
    const QFileInfo source(sourcePath);
    const QString name = source.fileName();
    const QString ext = source.suffix().toUpper();
    QDir().mkpath(imagesFolder);
    if (ext == QLatin1String("BMP") || ext == QLatin1String("WMF") || ext == QLatin1String("ICO")) {
        const QString target = QDir(imagesFolder).filePath(name);
        if (!QFileInfo::exists(target)) {
            // Read first: a file the readers refuse is not copied, to be met again under its name.
            LoadPicture(sourcePath);
            platform::CopyFile(sourcePath, target);
            if (made != nullptr)
                *made = true;
        }
        return name;
    }
    const QString reference = source.completeBaseName() + QStringLiteral(".bmp");
    const QString twin = QDir(imagesFolder).filePath(reference);
    if (QFileInfo::exists(twin))
        return reference;
    // Read first: a picture that fails writes nothing, so no empty twin is taken later for it.
    const QImage picture = LoadPicture(sourcePath);
    if (picture.isNull())
        throw platform::EInOutError(QStringLiteral("Unreadable picture: ") + sourcePath);
    // The twin names a picture only when the writer says it wrote it.
    if (!imaging::ImgWriteBmpBitmap(twin, kTwinBits, imaging::Bitmap{picture, 0}))
        throw platform::EInOutError(QStringLiteral("Cannot write ") + twin + QStringLiteral(": ")
                                    + imaging::binding().ImgLastErrorText);
    if (made != nullptr)
        *made = true;
    return reference;
}

QString NextScanFileName(const QString& imagesFolder)
{
    const QDir folder(imagesFolder);
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("scan%1.bmp").arg(n);
        if (!QFileInfo::exists(folder.filePath(name)))
            return name;
    }
}

bool SameFormat(const TCurrentFormat& a, const TCurrentFormat& b)
{
    return a.NomFormat == b.NomFormat && a.LargeurEtiquette == b.LargeurEtiquette
           && a.HauteurEtiquette == b.HauteurEtiquette && a.NbColonnes == b.NbColonnes
           && a.NbLignes == b.NbLignes && a.EcartHorizontal == b.EcartHorizontal
           && a.EcartVertical == b.EcartVertical && a.MargeGauche == b.MargeGauche
           && a.MargeHaut == b.MargeHaut && a.EtiquetteRonde == b.EtiquetteRonde;
}

} // namespace design
