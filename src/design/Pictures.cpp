#include "Pictures.h"

#include "imaging/Effects.h"
#include "imaging/PictureFile.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/Paths.h"
#include "platform/TCanvas.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace design {

namespace {

// The depth pictures are read at: true colour, whatever the screen.
constexpr int kPictureBits = 24;

} // namespace

QString FindPictureFile(const QString& reference, const QString& programFolder,
                        const QString& examplesFolder)
{
    if (reference.isEmpty())
        return {};
    const QString relative = QStringLiteral("images/") + reference;
    for (const QString& root : {programFolder, examplesFolder}) {
        if (root.isEmpty())
            continue;
        // A design is a file anyone may send: its reference reads from the pictures folder and
        // nowhere else, however many "../" it climbs.
        // Both are compared as found, so a reference written in other letters than the folder's
        // is still inside it.
        const QString folder = platform::findExisting(platform::joinPath(root, QStringLiteral("images")));
        const QString found = platform::findExisting(QDir::cleanPath(platform::joinPath(root, relative)));
        if (!folder.isEmpty() && !found.isEmpty() && found.startsWith(QDir::cleanPath(folder) + u'/'))
            return found;
    }
    return {};
}

QImage LoadPicture(const QString& path)
{
    // Read as the imaging layer reads every picture: the same readers, and the same depths, so a
    // picture looks alike in the editor, the preview and on paper.
    imaging::PictureReadOptions options;
    options.bits = kPictureBits;
    const imaging::PictureRead read = imaging::ImgReadPictureFile(path, options);
    switch (read.kind) {
    case imaging::PictureKind::Bitmap:
    case imaging::PictureKind::Graphic: {
        QImage picture = read.bitmap.image;
        if (read.info.format == QLatin1String("JPEG"))
            platform::MarkLossySource(picture);
        return picture;
    }
    case imaging::PictureKind::Missing: throw EPictureRefused(path, QStringLiteral("File not found"));
    case imaging::PictureKind::ScrollLine:
    case imaging::PictureKind::ScrollList:
        throw EPictureRefused(path, QStringLiteral("A scrolling text is not a picture"));
    case imaging::PictureKind::Failed: break;
    }
    throw EPictureRefused(path, imaging::binding().ImgLastErrorText);
}

QString PictureErrorReason(const std::exception& error)
{
    if (const auto* refused = dynamic_cast<const EPictureRefused*>(&error))
        return refused->Reason;
    if (const auto* own = dynamic_cast<const platform::Exception*>(&error))
        return own->message();
    return QString::fromUtf8(error.what());
}

QImage RotatePicture(const QImage& picture, int angle)
{
    if (angle <= 0 || picture.isNull())
        return picture;
    imaging::Bitmap turned{picture, 0};
    if (!imaging::ImgRotateBitmap(turned, 0, 0, qRgb(255, 255, 255), angle, 0, 0))
        return picture;
    return turned.image;
}

void DrawFieldPlaceholder(platform::TCanvas& canvas, const platform::TRect& area, const QString& code)
{
    using namespace platform;
    const int x0 = area.Left;
    const int y0 = area.Top;
    const int w = area.Width();
    const int h = area.Height();
    if (w <= 0 || h <= 0)
        return;
    // Nothing outside the box (the second diagonal starts on its right edge), as when the
    // placeholder was a picture of the box's size; a clipping already set still holds.
    const TPoint a = canvas.LPtoDP({x0, y0});
    const TPoint b = canvas.LPtoDP({x0 + w, y0 + h});
    TRect clip = Rect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
    if (canvas.HasClip()) {
        const TRect outer = canvas.ClipRect();
        clip = Rect(std::max(clip.Left, outer.Left), std::max(clip.Top, outer.Top),
                    std::min(clip.Right, outer.Right), std::min(clip.Bottom, outer.Bottom));
    }
    const TClipGuard guard(canvas, clip);
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(clInfoBk);
    canvas.Rectangle(x0, y0, x0 + w, y0 + h);
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x0 + w, y0 + h);
    canvas.MoveTo(x0 + w, y0);
    canvas.LineTo(x0, y0 + h);
    const unsigned flags = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;
    TRect measured = Rect(x0, y0, x0 + w, y0 + h);
    canvas.DrawText(code, measured, flags | DT_CALCRECT);
    const int tw = measured.Width();
    const int th = measured.Height();
    TRect box = Bounds(x0 + (w - tw) / 2, y0 + (h - th) / 2, tw, th);
    box.Left = std::max(box.Left, x0);
    box.Top = std::max(box.Top, y0);
    box.Right = std::min(box.Right, x0 + w);
    box.Bottom = std::min(box.Bottom, y0 + h);
    canvas.DrawText(code, box, flags);
}

TPictureCache::TPictureCache(std::int64_t budgetBytes) : m_budget(budgetBytes) {}

QImage TPictureCache::Picture(const QString& path, int angle)
{
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const std::int64_t fileSize = info.size();
    const int key = std::max(angle, 0);

    auto it = m_entries.find(path);
    if (it != m_entries.end() && (it->Modified != modified || it->FileSize != fileSize)) {
        m_bytes -= it->Bytes;
        m_entries.erase(it);
        it = m_entries.end();
    }
    if (it == m_entries.end()) {
        const platform::HourGlass busy;
        Entry entry;
        entry.Modified = modified;
        entry.FileSize = fileSize;
        entry.Turned[0] = LoadPicture(path);
        entry.Bytes = entry.Turned[0].sizeInBytes();
        ++m_reads;
        m_bytes += entry.Bytes;
        it = m_entries.insert(path, std::move(entry));
    }
    it->LastUse = ++m_clock;
    auto turned = it->Turned.find(key);
    if (turned == it->Turned.end()) {
        const QImage picture = RotatePicture(it->Turned[0], key);
        it->Bytes += picture.sizeInBytes();
        m_bytes += picture.sizeInBytes();
        turned = it->Turned.emplace(key, picture).first;
    }
    const QImage picture = turned->second;
    trim(path);
    return picture;
}

void TPictureCache::trim(const QString& keep)
{
    // The picture just asked for stays, even alone over the budget: the label needs it.
    while (m_bytes > m_budget && m_entries.size() > 1) {
        auto oldest = m_entries.end();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (it.key() != keep && (oldest == m_entries.end() || it->LastUse < oldest->LastUse))
                oldest = it;
        m_bytes -= oldest->Bytes;
        m_entries.erase(oldest);
    }
}

} // namespace design
