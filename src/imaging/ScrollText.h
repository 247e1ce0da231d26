#pragma once

#include "imaging/Dib.h"
#include "platform/TColor.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Scrolling text: a ".SCM" file shows one line moving from right to left, a ".CMS" file a list
// of lines moving from bottom to top. The files, the geometry of each step and the step pacing
// live here; the image control only paints the text picture where this says.
namespace imaging {

// What a scrolling-text file sets. A reader starts from the settings it is given, so a value
// the file leaves empty keeps the one before.
struct ScrollSettings {
    platform::TColor fontColor = 255;
    int fontHeight = -13;       // < 0: character height in pixels; > 0: cell height
    QString fontName = QStringLiteral("SYSTEM");
    int fontSize = 0;           // points; 0 while no file set one (then the height holds)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    platform::TColor background = 128;
    int speed = 1;
    QString message;            // ".SCM"
    QStringList lines;          // ".CMS"

    QFont font() const;
};

// The value between `tag` and `next` in `text`: present only when both tags occur and `next`
// follows `tag`.
bool ImgTagValue(const QString& text, const QString& tag, const QString& next, QString& value);

// Readers of the file contents (UTF-8 or Windows-1252). False, the settings partly set, when a
// number is not one, a font is larger than 500 points or 1000 pixels, or a ".CMS" file has
// fewer than 8 lines.
bool ImgParseScrollLine(const QByteArray& file, ScrollSettings& settings);
bool ImgParseScrollList(const QByteArray& file, ScrollSettings& settings);
// The same from a file; false when it does not exist.
bool ImgReadScrollLine(const QString& path, ScrollSettings& settings);
bool ImgReadScrollList(const QString& path, ScrollSettings& settings);

// The longest message or list line shown, and the largest text picture made for one (no side
// beyond kMaxPictureSide): beyond them a small file would ask for gigabytes (a 1000-pixel font over
// a long line).
constexpr int kLongestScrollText = 1024;
constexpr qint64 kMaxScrollPixels = 16LL * 1024 * 1024;

// A ".CMS" line as shown: two blanks in front unless it starts with one, one behind unless it
// ends with one.
QString ImgScrollListText(const QString& line);

class ScrollText {
public:
    bool lineMode() const { return m_lineMode; }
    bool listMode() const { return m_listMode; }
    bool active() const { return m_lineMode || m_listMode; }
    const ScrollSettings& settings() const { return m_settings; }
    // Where the text picture goes in the control, and the picture; nothing is shown before the
    // first step.
    QPoint position() const { return {m_x, m_y}; }
    const QImage& textPicture() const { return m_text; }
    bool stepped() const { return m_stepped; }
    int lineIndex() const { return m_index; }
    int lineHeight() const { return m_lineHeight; }
    int textWidth() const { return m_textWidth; }

    // ".SCM": reads the file and lays the line out just outside the right edge of `area`.
    // False when the file is missing or unreadable (no mode is on then). A text longer than
    // kLongestScrollText characters, or whose picture would be larger than kMaxScrollPicture
    // (a side beyond kMaxPictureSide or more pixels than kMaxScrollPixels), is refused before any
    // picture is made, and refusal() says why.
    bool startLine(const QString& path, const QSize& area);
    // ".CMS": reads the file and prepares its first line just below the bottom edge.
    bool startList(const QString& path, const QSize& area);
    // The next line of the list (the first after the last).
    void nextListLine(const QSize& area);
    // One step message each: moves the text by a pixel on every (speed + 1)-th message. True
    // when it moved.
    bool lineStep();
    bool listStep(const QSize& area);
    // Counts a step message against the speed.
    bool tick(int speed);
    // Leaves both modes.
    void end();
    // Why the last start refused the file's text; empty when it did not.
    const QString& refusal() const { return m_refusal; }

private:
    bool prepareLine(const QSize& area);
    // Whether a text's picture is within bounds, its font measured by `metrics`, `extraHeight`
    // below; sets the refusal when not.
    bool fits(const QString& text, const QFontMetrics& metrics, int extraHeight);
    QImage textImage(const QString& text, int width, int height) const;

    ScrollSettings m_settings;
    QImage m_text;
    QSize m_area;
    int m_x = 0, m_xEnd = 0, m_y = 0, m_yEnd = 0;
    int m_lineHeight = 0, m_textWidth = 0;
    int m_index = 0;
    int m_counter = 0;
    bool m_lineMode = false;
    bool m_listMode = false;
    bool m_stepped = false;
    QString m_refusal;
};

} // namespace imaging
