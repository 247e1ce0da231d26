#include "imaging/ScrollText.h"

#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

namespace imaging {

namespace {

bool toInt(const QString& text, int& out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok)
        out = v;
    return ok;
}

// A style of four characters, "1" switching on bold, italic, underline, strike-out; missing
// characters count as not "1".
void setStyle(ScrollSettings& s, const QString& style)
{
    const auto on = [&](int i) { return i < style.size() && style[i] == u'1'; };
    s.bold = on(0);
    s.italic = on(1);
    s.underline = on(2);
    s.strikeOut = on(3);
}

QByteArray readFile(const QString& path, bool& ok)
{
    ok = false;
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    ok = true;
    return file.readAll();
}

// A font no screen could show: the text picture of a line would take gigabytes.
constexpr int kLargestFontPoints = 500;
constexpr int kLargestFontPixels = 1000;

bool sensibleFont(const ScrollSettings& s)
{
    return s.fontSize >= 0 && s.fontSize <= kLargestFontPoints && qAbs(s.fontHeight) <= kLargestFontPixels;
}

// The width of a list line's picture: one average character more than its text, so the last
// one is never cut; a line of blanks only has none.
int shownWidth(const QFontMetrics& metrics, const QString& text)
{
    int width = metrics.horizontalAdvance(text);
    if (text.size() > 2)
        width += width / int(text.size() - 2);
    return width;
}

} // namespace

QFont ScrollSettings::font() const
{
    QFont f(fontName);
    if (fontSize > 0)
        f.setPointSize(fontSize);
    else
        f.setPixelSize(qMax(1, qAbs(fontHeight)));
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    return f;
}

bool ImgTagValue(const QString& text, const QString& tag, const QString& next, QString& value)
{
    const qsizetype start = text.indexOf(tag);
    const qsizetype end = text.indexOf(next);
    if (start < 0 || end < 0)
        return false;
    const qsizetype from = start + tag.size();
    value = end > from ? text.mid(from, end - from) : QString();
    return true;
}

bool ImgParseScrollLine(const QByteArray& file, ScrollSettings& s)
{
    const QString text = platform::decodeText(file);
    QString v;
    // Each value: absent gives the default, empty keeps what was there.
    const auto number = [&](const char* tag, const char* next, int& field, int absent) {
        if (!ImgTagValue(text, QLatin1String(tag), QLatin1String(next), v)) {
            field = absent;
            return true;
        }
        return v.isEmpty() || toInt(v, field);
    };
    if (!number("/fc|", "/fh|", s.fontColor, 255) || !number("/fh|", "/fn|", s.fontHeight, -13))
        return false;
    if (!ImgTagValue(text, QStringLiteral("/fn|"), QStringLiteral("/fs|"), v))
        s.fontName = QStringLiteral("SYSTEM");
    else if (!v.isEmpty())
        s.fontName = v;
    if (ImgTagValue(text, QStringLiteral("/fs|"), QStringLiteral("/ft|"), v) && !v.isEmpty()
        && !toInt(v, s.fontSize))
        return false;
    if (ImgTagValue(text, QStringLiteral("/ft|"), QStringLiteral("/bc|"), v) && !v.isEmpty())
        setStyle(s, v);
    if (!number("/bc|", "/sp|", s.background, 128) || !number("/sp|", "/sm|", s.speed, 1))
        return false;
    if (!ImgTagValue(text, QStringLiteral("/sm|"), QStringLiteral("/eo|"), v))
        s.message = QStringLiteral(" Invallid message format ! ");
    else if (!v.isEmpty())
        s.message = v;
    return sensibleFont(s);
}

bool ImgParseScrollList(const QByteArray& file, ScrollSettings& s)
{
    const QStringList lines = platform::splitLines(platform::decodeText(file));
    s.lines.clear();
    if (lines.size() < 8)
        return false;
    if (!toInt(lines[1], s.fontColor) || !toInt(lines[2], s.fontHeight))
        return false;
    s.fontName = lines[3];
    if (!toInt(lines[4], s.fontSize))
        return false;
    setStyle(s, lines[5].left(4));
    if (!toInt(lines[6], s.background) || !toInt(lines[7], s.speed))
        return false;
    s.lines = lines.mid(8);
    return sensibleFont(s);
}

bool ImgReadScrollLine(const QString& path, ScrollSettings& settings)
{
    bool ok = false;
    const QByteArray bytes = readFile(path, ok);
    return ok && ImgParseScrollLine(bytes, settings);
}

bool ImgReadScrollList(const QString& path, ScrollSettings& settings)
{
    bool ok = false;
    const QByteArray bytes = readFile(path, ok);
    return ok && ImgParseScrollList(bytes, settings);
}

QString ImgScrollListText(const QString& line)
{
    QString text = line;
    if (!text.startsWith(u' '))
        text.prepend(QStringLiteral("  "));
    if (!text.endsWith(u' '))
        text.append(u' ');
    return text;
}

bool ScrollText::fits(const QString& text, const QFontMetrics& metrics, int extraHeight)
{
    if (text.size() > kLongestScrollText) {
        m_refusal = QStringLiteral("The scrolling text has a line of %1 characters; at most %2 are shown")
                        .arg(text.size())
                        .arg(kLongestScrollText);
        return false;
    }
    const int width = shownWidth(metrics, text);
    const int height = metrics.height() + extraHeight;
    if (width > kMaxPictureSide || height > kMaxPictureSide || qint64(width) * height > kMaxScrollPixels) {
        m_refusal = QStringLiteral("The scrolling text needs a picture of %1 x %2 pixels, more than can be "
                                   "shown; use a smaller font or a shorter text")
                        .arg(width)
                        .arg(height);
        return false;
    }
    return true;
}

QImage ScrollText::textImage(const QString& text, int width, int height) const
{
    QImage image(qMax(1, width), qMax(1, height), QImage::Format_RGB32);
    image.fill(platform::ToQColor(m_settings.background));
    QPainter p(&image);
    p.setFont(m_settings.font());
    p.setPen(platform::ToQColor(m_settings.fontColor));
    p.drawText(0, QFontMetrics(m_settings.font()).ascent(), text);
    return image;
}

bool ScrollText::startLine(const QString& path, const QSize& area)
{
    m_refusal.clear();
    ScrollSettings read = m_settings;
    if (!ImgReadScrollLine(path, read))
        return false;
    // Measured before anything is kept: the picture a refused text needs is never made.
    const QFontMetrics metrics(read.font());
    if (!fits(read.message, metrics, 0))
        return false;
    m_settings = read;
    m_area = area;
    m_textWidth = metrics.horizontalAdvance(m_settings.message);
    m_lineHeight = metrics.height();
    m_x = area.width();
    m_xEnd = area.width() + m_textWidth;
    m_y = (area.height() - m_lineHeight) / 2;
    m_text = textImage(m_settings.message, m_textWidth, m_lineHeight);
    m_stepped = false;
    m_lineMode = true;
    return true;
}

bool ScrollText::startList(const QString& path, const QSize& area)
{
    m_refusal.clear();
    ScrollSettings read = m_settings;
    if (!ImgReadScrollList(path, read))
        return false;
    // Every line is shown in turn: each one's picture is bounded before the first is made.
    const QFontMetrics metrics(read.font());
    for (const QString& line : read.lines)
        if (!fits(ImgScrollListText(line), metrics, 5))
            return false;
    m_settings = read;
    m_index = 0;
    if (m_settings.lines.isEmpty() || m_settings.lines.first().isEmpty())
        return true;
    return prepareLine(area);
}

void ScrollText::nextListLine(const QSize& area)
{
    if (m_index >= m_settings.lines.size())
        m_index = 0;
    prepareLine(area);
}

bool ScrollText::prepareLine(const QSize& area)
{
    if (m_index >= m_settings.lines.size() || m_settings.lines[m_index].isEmpty())
        return false;
    const QString text = ImgScrollListText(m_settings.lines[m_index]);
    m_area = area;
    const QFontMetrics metrics(m_settings.font());
    m_textWidth = shownWidth(metrics, text);
    m_lineHeight = metrics.height();
    m_x = (area.width() - m_textWidth) / 2;
    m_y = area.height();
    m_yEnd = area.height() + m_lineHeight;
    m_text = textImage(text, m_textWidth, m_lineHeight + 5);
    m_stepped = false;
    m_listMode = true;
    return true;
}

bool ScrollText::tick(int speed)
{
    ++m_counter;
    if (m_counter > speed) {
        m_counter = 0;
        return true;
    }
    return false;
}

bool ScrollText::lineStep()
{
    if (!m_lineMode || !tick(m_settings.speed))
        return false;
    --m_x;
    --m_xEnd;
    if (m_xEnd < 0) {
        m_x = m_area.width();
        m_xEnd = m_area.width() + m_textWidth;
    }
    m_stepped = true;
    return true;
}

bool ScrollText::listStep(const QSize& area)
{
    if (!m_listMode || !tick(m_settings.speed))
        return false;
    --m_y;
    --m_yEnd;
    if (m_y < -m_lineHeight - 5) {
        if (m_settings.lines.isEmpty()) {
            m_y = m_area.height();
            m_yEnd = m_area.height() + m_lineHeight;
        } else {
            m_index = m_index + 1 >= m_settings.lines.size() ? 0 : m_index + 1;
            prepareLine(area);
        }
    }
    m_stepped = true;
    return true;
}

void ScrollText::end()
{
    m_lineMode = false;
    m_listMode = false;
    m_stepped = false;
}

} // namespace imaging
