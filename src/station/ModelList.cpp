#include "ModelList.h"

#include "SheetFormat.h"

#include "design/DesignHeader.h"
#include "platform/Errors.h"
#include "platform/Numbers.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace station {

using namespace platform;

namespace {

void SizeOf(const design::TDesignHeader& h, int& width, int& height)
{
    design::TCurrentFormat f;
    int px = 0;
    int py = 0;
    design::ApplyDesignHeader(h, f, px, py);
    width = f.LargeurEtiquette;
    height = f.HauteurEtiquette;
}

} // namespace

TModelHeader ReadModelHeader(const QString& path)
{
    const design::TDesignHeader h = design::ReadDesignHeader(path);
    TModelHeader m;
    m.Version = h.Version;
    int px = 0;
    int py = 0;
    design::ApplyDesignHeader(h, m.Format, px, py);
    m.Width = m.Format.LargeurEtiquette;
    m.Height = m.Format.HauteurEtiquette;
    m.HasFormat = h.Version >= 7;
    if (h.Version == 7) {
        const double across = design::RawLabelsOnA4(210, m.Width, h.HorizontalGapTenthsMm,
                                            h.LeftMarginTenthsMm, h.RightMarginTenthsMm);
        const double down = design::RawLabelsOnA4(297, m.Height, h.VerticalGapTenthsMm, h.TopMarginTenthsMm,
                                          h.BottomMarginTenthsMm);
        if (across < 1 || down < 1)
            throw EConvertError(QStringLiteral("%1: the sheet of its header holds no label")
                                    .arg(QFileInfo(path).fileName()));
    }
    m.Format.NbColonnes = ClampLabelCount(m.Format.NbColonnes);
    m.Format.NbLignes = ClampLabelCount(m.Format.NbLignes);
    return m;
}

void PartialModelSize(const QString& path, int& width, int& height)
{
    width = 0;
    height = 0;
    // Each number is kept as it is read; the version, once known, converts them.
    try {
        TextFileReader reader(path);
        design::TDesignHeader h;
        h.Width = reader.readInteger();
        width = h.Width;
        h.Height = reader.readInteger();
        height = h.Height;
        const QString v = reader.readLine();
        if (v.size() < 8 || !v.at(7).isDigit() || v.at(7).unicode() > u'9')
            return;
        h.Version = v.at(7).unicode() - u'0';
        SizeOf(h, width, height);
    } catch (const std::exception&) {
    }
}

QString ModelLine(const QString& name, int w, int h)
{
    return name + QStringLiteral("\t(") + FormatFixed(w / 100.0, 2) + QStringLiteral(" x ")
           + FormatFixed(h / 100.0, 2) + QStringLiteral(" mm)");
}

int TModelList::IndexOf(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Models[static_cast<size_t>(i)].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TModelList ListModels(const QStringList& folders)
{
    TModelList list;
    for (const QString& folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList(
            {QStringLiteral("*.car")}, QDir::Files | QDir::Readable, QDir::Name);
        // Name filters ignore letter case: ".CAR" and ".car" are both designs.
        for (const QFileInfo& file : files) {
            if (file.suffix().compare(QStringLiteral("car"), Qt::CaseInsensitive) != 0)
                continue;
            TModelEntry e;
            e.Name = design::DesignName(file.fileName());
            if (e.Name.isEmpty() || list.IndexOf(e.Name) >= 0)
                continue;
            e.Path = file.filePath();
            try {
                const TModelHeader h = ReadModelHeader(e.Path);
                e.Width = h.Width;
                e.Height = h.Height;
            } catch (const platform::Exception& error) {
                e.Readable = false;
                PartialModelSize(e.Path, e.Width, e.Height);
                list.Errors << file.fileName() + QStringLiteral(": ") + error.message();
            } catch (const std::exception& error) {
                e.Readable = false;
                PartialModelSize(e.Path, e.Width, e.Height);
                list.Errors << file.fileName() + QStringLiteral(": ") + QString::fromUtf8(error.what());
            }
            list.Models.push_back(std::move(e));
        }
    }
    std::stable_sort(list.Models.begin(), list.Models.end(),
                     [](const TModelEntry& a, const TModelEntry& b) {
                         return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
                     });
    return list;
}

} // namespace station
