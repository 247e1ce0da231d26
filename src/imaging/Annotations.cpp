#include "imaging/Annotations.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QFileInfo>
#include <QPainter>

namespace imaging {

namespace {

const QLatin1String kFirstLine("Pravolis annotations 1");
// No annotation is larger than this in either direction: the file comes from anywhere.
constexpr int kLargest = 1 << 20;

const char* kindName(Annotation::Kind k)
{
    switch (k) {
    case Annotation::Frame: return "frame";
    case Annotation::Line: return "line";
    case Annotation::Note: return "note";
    }
    return "frame";
}

bool kindOf(const QString& name, Annotation::Kind& k)
{
    for (Annotation::Kind c : {Annotation::Frame, Annotation::Line, Annotation::Note})
        if (name == QLatin1String(kindName(c))) {
            k = c;
            return true;
        }
    return false;
}

bool parseLine(const QString& line, int& page, Annotation& a)
{
    const QStringList f = line.split(u';');
    if (f.size() < 8)
        return false;
    bool ok = true;
    int numbers[5];
    for (int i = 0; i < 5 && ok; ++i)
        numbers[i] = f[i == 0 ? 0 : i + 1].toInt(&ok);
    if (!ok || !kindOf(f[1], a.kind))
        return false;
    page = numbers[0];
    for (int i = 1; i < 5; ++i)
        if (numbers[i] < -kLargest || numbers[i] > kLargest)
            return false;
    if (numbers[3] < 0 || numbers[4] < 0)
        return false;
    a.rect = QRect(numbers[1], numbers[2], numbers[3], numbers[4]);
    if (f[6].size() != 7 || !f[6].startsWith(u'#'))
        return false;
    a.color = QColor::fromString(f[6]);
    if (!a.color.isValid())
        return false;
    a.text = QStringList(f.mid(7)).join(u';');
    return true;
}

QString lineOf(int page, const Annotation& a)
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8")
        .arg(page)
        .arg(QLatin1String(kindName(a.kind)))
        .arg(a.rect.left())
        .arg(a.rect.top())
        .arg(a.rect.width())
        .arg(a.rect.height())
        .arg(a.color.name())
        .arg(QString(a.text).replace(u'\r', u' ').replace(u'\n', u' '));
}

// The rectangle two corners span, whichever way the mouse went.
QRect spanned(const QPoint& a, const QPoint& b)
{
    return QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())), QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
}

} // namespace

QString AnnoFileNameFor(const QString& annoFileName, const QString& imageName)
{
    if (!annoFileName.isEmpty())
        return annoFileName;
    // Without a picture the notes go where the program keeps its own files, never into
    // whatever folder the program happened to be started from.
    if (imageName.isEmpty())
        return platform::joinPath(platform::programFolder(), QStringLiteral("default.ant"));
    const qsizetype slash = imageName.lastIndexOf(u'/');
    const qsizetype dot = imageName.lastIndexOf(u'.');
    return (dot <= slash ? imageName : imageName.left(dot)) + QStringLiteral(".ant");
}

bool ParseAnnotations(const QByteArray& file, int page, QList<Annotation>& out, QString* why)
{
    const QStringList lines = platform::splitLines(platform::decodeText(file));
    if (lines.isEmpty() || lines.first() != kFirstLine) {
        if (why != nullptr)
            *why = QStringLiteral("not an annotation file");
        return false;
    }
    QList<Annotation> items;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        int linePage = 0;
        Annotation a;
        if (!parseLine(lines[i], linePage, a)) {
            if (why != nullptr)
                *why = QStringLiteral("line %1 is not an annotation").arg(i + 1);
            return false;
        }
        if (linePage == page)
            items << a;
    }
    out = items;
    return true;
}

QByteArray FormatAnnotations(const QByteArray& existing, int page, const QList<Annotation>& items)
{
    QStringList lines{kFirstLine};
    const QStringList old = platform::splitLines(platform::decodeText(existing));
    if (!old.isEmpty() && old.first() == kFirstLine)
        for (qsizetype i = 1; i < old.size(); ++i) {
            int linePage = 0;
            Annotation a;
            if (parseLine(old[i], linePage, a) && linePage != page)
                lines << old[i];
        }
    for (const Annotation& a : items)
        lines << lineOf(page, a);
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool AnnotationLayer::Load(const QString& path, int page)
{
    if (!QFileInfo(path).isFile())
        return false;
    try {
        return ParseAnnotations(platform::readFileBytes(path), page, m_items);
    } catch (const platform::Exception&) {
        return false;
    }
}

bool AnnotationLayer::Save(const QString& path, int page) const
{
    try {
        const QByteArray existing = QFileInfo(path).isFile() ? platform::readFileBytes(path) : QByteArray();
        platform::writeFileAtomically(path, FormatAnnotations(existing, page, m_items));
        return true;
    } catch (const platform::Exception&) {
        return false;
    }
}

void AnnotationLayer::Draw(QPainter& painter, double zoom, const QPoint& origin, int offsetX, int offsetY) const
{
    const auto view = [&](const QPoint& p) {
        return QPointF((p.x() - origin.x()) * zoom + offsetX, (p.y() - origin.y()) * zoom + offsetY);
    };
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const Annotation& a : m_items) {
        painter.setPen(QPen(a.color, 1));
        const QRectF r(view(a.rect.topLeft()), QSizeF(a.rect.width() * zoom, a.rect.height() * zoom));
        switch (a.kind) {
        case Annotation::Frame: painter.drawRect(r); break;
        case Annotation::Line: painter.drawLine(r.topLeft(), r.bottomRight()); break;
        case Annotation::Note:
            painter.drawRect(r);
            painter.drawText(r, Qt::TextWordWrap, a.text);
            break;
        }
    }
    QRect rubber;
    if (Rubber(rubber)) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(QRectF(view(rubber.topLeft()), QSizeF(rubber.width() * zoom, rubber.height() * zoom)));
    }
    painter.restore();
}

void AnnotationLayer::MouseDown(const QPoint& p)
{
    m_pressed = true;
    m_start = m_end = p;
}

void AnnotationLayer::MouseMove(const QPoint& p)
{
    if (m_pressed)
        m_end = p;
}

bool AnnotationLayer::MouseUp(const QPoint& p)
{
    if (!m_pressed)
        return false;
    m_pressed = false;
    m_end = p;
    const QRect r = spanned(m_start, m_end);
    if (r.width() < 2 && r.height() < 2)
        return false;
    m_items << Annotation{Annotation::Frame, r, Qt::red, {}};
    return true;
}

bool AnnotationLayer::Rubber(QRect& rect) const
{
    if (!m_pressed)
        return false;
    rect = spanned(m_start, m_end);
    return true;
}

} // namespace imaging
