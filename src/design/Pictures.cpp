#include "Pictures.h"

#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/Paths.h"
#include "platform/TCanvas.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace design {

QString FindPictureFile(const QString& reference, const QString& programFolder,
                        const QString& examplesFolder)
{
    if (reference.isEmpty())
        return {};
    const QString relative = QStringLiteral("images/") + reference;
    for (const QString& root : {programFolder, examplesFolder}) {
        if (root.isEmpty())
            continue;
        const QString found = platform::findExisting(platform::joinPath(root, relative));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QImage LoadPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        throw platform::EInOutError(platform::readErrorMessage(path, reader.errorString()));
    return image;
}

QImage RotatePicture(const QImage& picture, int angle)
{
    if (angle <= 0 || picture.isNull())
        return picture;
    // Qt turns clockwise on a y-down surface; the program's angles turn counter-clockwise.
    QTransform turn;
    turn.rotate(-angle);
    const QRect bounds = turn.mapRect(QRectF(0, 0, picture.width(), picture.height())).toAlignedRect();
    QImage out(std::max(1, bounds.width()), std::max(1, bounds.height()), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, angle % 90 != 0);
    p.translate(-bounds.left(), -bounds.top());
    p.setTransform(turn, true);
    p.drawImage(0, 0, picture);
    p.end();
    return out;
}

void DrawFieldPlaceholder(QImage& picture, const QString& code)
{
    using namespace platform;
    if (picture.isNull())
        return;
    const int w = picture.width();
    const int h = picture.height();
    TCanvas canvas(&picture);
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(clInfoBk);
    canvas.Rectangle(0, 0, w, h);
    canvas.MoveTo(0, 0);
    canvas.LineTo(w, h);
    canvas.MoveTo(w, 0);
    canvas.LineTo(0, h);
    const unsigned flags = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;
    TRect measured = Rect(0, 0, w, h);
    canvas.DrawText(code, measured, flags | DT_CALCRECT);
    const int tw = measured.Width();
    const int th = measured.Height();
    TRect box = Bounds((w - tw) / 2, (h - th) / 2, tw, th);
    box.Left = std::max(box.Left, 0);
    box.Top = std::max(box.Top, 0);
    box.Right = std::min(box.Right, w);
    box.Bottom = std::min(box.Bottom, h);
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
