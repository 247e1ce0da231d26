#include "imaging/window/TPMultiImage.h"

#include "imaging/ImagingErrors.h"
#include "platform/HourGlass.h"
#include "platform/Rounding.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>

#include <cmath>

using namespace imaging;
using platform::R;

namespace {

int stepOf(int from, int to, double zoom)
{
    int d = R((from - to) / zoom);
    // A move of a pixel or more always moves the picture, however far it is zoomed in.
    if (d == 0 && from != to)
        d = from > to ? 1 : -1;
    return d;
}

} // namespace

TPMultiImage::TPMultiImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_vbar = new QScrollBar(Qt::Vertical, this);
    m_hbar = new QScrollBar(Qt::Horizontal, this);
    m_corner = new QWidget(this);
    m_corner->setAutoFillBackground(true);
    for (QScrollBar* bar : {m_vbar, m_hbar}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, 100);
        bar->setSingleStep(5);
        bar->setPageStep(25);
        bar->hide();
    }
    m_corner->hide();
    connect(m_hbar, &QScrollBar::valueChanged, this, [this](int v) {
        m_origin.setX(R(v / m_zoom));
        update();
    });
    connect(m_vbar, &QScrollBar::valueChanged, this, [this](int v) {
        m_origin.setY(R(v / m_zoom));
        update();
    });
}

TPMultiImage::~TPMultiImage()
{
    if (AutoSaveAnno)
        SaveAnnotations(TiffPage, AnnoFileNameFor());
}

// --- reading -----------------------------------------------------------------------------

int TPMultiImage::readBits() const
{
    return ImgReadBitsFor(ImageReadRes, ScreenBits != 0 ? ScreenBits : ImgScreenBits());
}

void TPMultiImage::SetImageName(const QString& name)
{
    const QString oldAnno = AnnoFileNameFor();
    m_imageName = name;
    m_loading = true;
    const QString ext = QFileInfo(name).suffix().toUpper();
    if (ext != u"RES" && !QFileInfo(name).isFile()) {
        clearPicture();
        m_loading = false;
        return;
    }
    if (AutoSaveAnno)
        SaveAnnotations(TiffPage, oldAnno);
    ClearAnnotations();
    Progress(0);
    PictureReadOptions options;
    options.bits = readBits();
    options.dither = ImageDither;
    options.pcdMode = PCDMode;
    options.tiffPage = TiffPage;
    options.ctx = this;
    try {
        const PictureRead read = ImgReadPictureFile(name, options);
        switch (read.kind) {
        case PictureKind::Graphic:
            EndScrollText(false);
            if (ILUndo)
                ImgUndoPush(m_picture);
            replacePicture(read.bitmap, true);
            m_info = read.info;
            m_loading = false;
            return;
        case PictureKind::ScrollLine:
        case PictureKind::ScrollList: {
            if (ILUndo)
                ImgUndoPush(m_picture);
            EndScrollText(true);
            m_colorBeforeScroll = m_color;
            const bool started = read.kind == PictureKind::ScrollLine ? m_scroll.startLine(name, size())
                                                                      : m_scroll.startList(name, size());
            if (started && m_scroll.active())
                m_color = m_scroll.settings().background;
            m_info = read.info;
            update();
            if (started) {
                m_loading = false;
                return;
            }
            // A text too large to show is said so, as a picture that cannot be read is.
            if (!m_scroll.refusal().isEmpty()) {
                binding().ImgLastErrorCode = errTooLarge;
                binding().ImgLastErrorText = m_scroll.refusal();
                ReportError();
            }
            break; // a file that cannot be read leaves the picture cleared
        }
        case PictureKind::Missing: clearPicture(); break;
        case PictureKind::Failed:
            clearPicture();
            ReportError();
            break;
        case PictureKind::Bitmap:
            EndScrollText(false);
            TiffPage = read.tiffPage;
            if (ILUndo)
                ImgUndoPush(m_picture);
            m_info = read.info;
            if (FXMethod != FXNone)
                ShowTransition(read.bitmap);
            else
                replacePicture(read.bitmap, false);
            break;
        }
    } catch (...) {
        // Nothing a reader throws leaves the control; the picture read is not there.
        clearPicture();
    }
    commonEnding();
}

void TPMultiImage::commonEnding()
{
    m_loading = false;
    if (AutoLoadAnno)
        LoadAnnotations(TiffPage, AnnoFileNameFor());
    if (OnFinishedLoadSave)
        OnFinishedLoadSave();
}

bool TPMultiImage::GetImageInfo(const QString& fileName)
{
    const bool ok = ImgGetImageInfo(fileName, TiffPage, m_picture.image.size(), m_info);
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    if (!ok && ext != u"WMF" && ext != u"ICO" && ext != u"SCM" && ext != u"CMS")
        ReportError();
    return ok;
}

int TPMultiImage::Progress(int percent)
{
    if (!OnProgress)
        return 1;
    return OnProgress(percent, binding().ImgProgressText.toLower()) ? 1 : 0;
}

void TPMultiImage::ReportError()
{
    if (OnIlibError) {
        OnIlibError(binding().ImgLastErrorCode, binding().ImgLastErrorText);
        return;
    }
    throw ErrorInvalid(binding().ImgLastErrorText);
}

// --- the picture -------------------------------------------------------------------------

void TPMultiImage::SetPicture(const Bitmap& picture)
{
    replacePicture(picture, false);
}

void TPMultiImage::replacePicture(const Bitmap& bitmap, bool graphic)
{
    m_picture = bitmap;
    m_graphic = graphic && bitmap.HasHandle();
    pictureChanged();
}

void TPMultiImage::clearPicture()
{
    replacePicture(Bitmap(), false);
}

void TPMultiImage::pictureChanged()
{
    if (m_autoSize && m_picture.HasHandle())
        resize(m_picture.image.size());
    if (m_loading) {
        m_zoom = m_savedZoom = 1.0;
        m_origin = m_savedOrigin = QPoint();
        if (m_stretchRatio)
            fitZoom();
    }
    if (OnPictureChanged)
        OnPictureChanged();
    layoutScrollbars();
    update();
}

void TPMultiImage::fitZoom()
{
    const QSize p = m_picture.image.size();
    // A picture without pixels keeps zoom 1.0: there is nothing to fit.
    if (!m_picture.HasHandle() || p.width() <= 0 || p.height() <= 0)
        return;
    const double zw = double(width()) / p.width();
    const double zh = double(height()) / p.height();
    m_zoom = zh >= zw ? zw : zh;
    if (m_zoom <= 0)
        m_zoom = 1.0;
}

void TPMultiImage::SetStretch(bool on)
{
    m_stretch = on;
    if (on && m_stretchRatio) {
        m_stretchRatio = false;
        m_origin = m_savedOrigin;
        m_zoom = m_savedZoom;
    }
    pictureChanged();
}

void TPMultiImage::SetCenter(bool on)
{
    m_center = on;
    update();
}

void TPMultiImage::SetStretchRatio(bool on)
{
    if (on == m_stretchRatio)
        return;
    m_stretchRatio = on;
    if (on && m_picture.HasHandle()) {
        m_savedOrigin = m_origin;
        m_savedZoom = m_zoom;
        m_origin = QPoint();
        fitZoom();
    } else {
        m_origin = m_savedOrigin;
        m_zoom = m_savedZoom;
    }
    if (on)
        m_stretch = false;
    layoutScrollbars();
    update();
}

void TPMultiImage::SetScrolling(bool on)
{
    m_scrolling = on;
    pictureChanged();
}

void TPMultiImage::SetShowScrollbars(bool on)
{
    if (!on && m_showScrollbars && m_picture.HasHandle()) {
        // Pull the origin back by what the bars covered, never before the first pixel.
        const QSize z = zoomedSize();
        if (z.width() > width()) {
            const int d = R(width() - (m_picture.image.width() - m_origin.x()) * m_zoom);
            if (d > 0)
                m_origin.setX(qMax(0, R(m_origin.x() - d / m_zoom) - 1));
        }
        if (z.height() > height()) {
            const int d = R(height() - (m_picture.image.height() - m_origin.y()) * m_zoom);
            if (d > 0)
                m_origin.setY(qMax(0, R(m_origin.y() - d / m_zoom) - 1));
        }
    }
    m_showScrollbars = on;
    pictureChanged();
}

void TPMultiImage::SetAutoSize(bool on)
{
    m_autoSize = on;
    pictureChanged();
}

void TPMultiImage::SetTileWindow(bool on)
{
    m_tile = on;
    update();
}

void TPMultiImage::SetColor(platform::TColor color)
{
    m_color = color;
    update();
}

void TPMultiImage::SetBorderStyle(TBorderStyle style)
{
    m_border = style;
    update();
}

void TPMultiImage::SetText(const QString& text)
{
    m_text = text;
    update();
}

void TPMultiImage::SetOrigin(const QPoint& origin)
{
    m_origin = QPoint(qMax(0, origin.x()), qMax(0, origin.y()));
    layoutScrollbars();
    update();
}

void TPMultiImage::SetZoom(double zoom)
{
    if (zoom <= 0)
        return;
    m_zoom = zoom;
    layoutScrollbars();
    update();
}

void TPMultiImage::SetEditAnnotat(bool on)
{
    if (on == m_editAnnotat)
        return;
    m_editAnnotat = on;
    if (!on)
        m_annotations.RubberBandOff();
    update();
}

QSize TPMultiImage::zoomedSize() const
{
    return {R(m_picture.image.width() * m_zoom), R(m_picture.image.height() * m_zoom)};
}

// --- scroll bars -------------------------------------------------------------------------

bool TPMultiImage::ScrollbarsShown() const
{
    if (!m_picture.HasHandle() || m_graphic || m_stretch || m_stretchRatio || !m_scrolling
        || !m_showScrollbars)
        return false;
    const QSize z = zoomedSize();
    return z.width() > width() || z.height() > height();
}

int TPMultiImage::scrollWidthInUse() const
{
    return m_showScrollbars ? ScrollbarWidth : 0;
}

void TPMultiImage::layoutScrollbars()
{
    if (!ScrollbarsShown()) {
        m_vbar->hide();
        m_hbar->hide();
        m_corner->hide();
        return;
    }
    const int s = ScrollbarWidth;
    const int w = width(), h = height();
    m_vbar->setGeometry(w - s, 1, s, h - s - 1);
    m_hbar->setGeometry(1, h - s, w - s - 1, s);
    m_corner->setGeometry(w - s, h - s, s, s);
    const QSignalBlocker bh(m_hbar), bv(m_vbar);
    const int hmax = qMax(0, R(m_picture.image.width() * m_zoom - w + s));
    const int vmax = qMax(0, R(m_picture.image.height() * m_zoom - h + s));
    m_hbar->setRange(0, hmax);
    m_vbar->setRange(0, vmax);
    m_hbar->setValue(hmax == 0 ? 0 : qMin(R(m_origin.x() * m_zoom), hmax));
    m_vbar->setValue(vmax == 0 ? 0 : qMin(R(m_origin.y() * m_zoom), vmax));
    m_vbar->show();
    m_hbar->show();
    m_corner->show();
}

void TPMultiImage::resizeEvent(QResizeEvent*)
{
    if (m_stretchRatio)
        fitZoom();
    layoutScrollbars();
}

// --- painting ----------------------------------------------------------------------------

void TPMultiImage::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        paintPicture(painter);
        if (m_inTransition) {
            painter.setClipRegion(m_fxShown);
            painter.drawImage(0, 0, m_fxImage);
            painter.setClipping(false);
        }
        if (m_band) {
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(m_bandStart, m_bandEnd).normalized());
        }
        paintOverlay(painter);
        if (m_border == bsSingle) {
            painter.setPen(Qt::black);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        if (OnPaint)
            OnPaint();
    } catch (...) {
        // A paint event lets nothing out; the view is drawn again at the next one.
    }
}

void TPMultiImage::paintPicture(QPainter& painter)
{
    const QColor back = platform::ToQColor(m_color);
    const QRect client = rect();
    const QImage& image = m_picture.image;
    m_target = QRect();
    if (m_scroll.active()) {
        painter.fillRect(client, back);
        if (m_scroll.stepped())
            painter.drawImage(m_scroll.position(), m_scroll.textPicture());
        return;
    }
    if (!m_picture.HasHandle()) {
        painter.fillRect(client, back);
        return;
    }
    if (m_graphic) {
        painter.fillRect(client, back);
        QRect target(QPoint(0, 0), image.size());
        if (m_stretch)
            target = client;
        else if (m_center)
            target.moveTopLeft(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2));
        painter.drawImage(target, image);
        m_target = target;
        if (OnPaintArea)
            OnPaintArea(target.left(), target.top(), target.right() + 1, target.bottom() + 1);
        return;
    }
    if (m_tile) {
        for (int y = 0; y < height(); y += image.height())
            for (int x = 0; x < width(); x += image.width())
                painter.drawImage(x, y, image);
        return;
    }
    if (m_stretch) {
        painter.drawImage(client, image);
        m_target = client;
        if (OnPaintArea)
            OnPaintArea(0, 0, image.width(), image.height());
        return;
    }
    if (!m_stretchRatio && !m_scrolling) {
        QRect target(QPoint(0, 0), image.size());
        if (m_center)
            target.moveTopLeft(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2));
        painter.drawImage(target.topLeft(), image);
        painter.setClipRegion(QRegion(client).xored(QRegion(target)));
        painter.fillRect(client, back);
        painter.setClipping(false);
        m_target = target;
        if (OnPaintArea)
            OnPaintArea(target.left(), target.top(), target.width(), target.height());
        return;
    }
    // The zoomed view.
    const int W = width(), H = height();
    const QSize z = zoomedSize();
    int s = scrollWidthInUse();
    m_offsetX = m_offsetY = 0;
    QRect source, target;
    const int ox = m_origin.x(), oy = m_origin.y();
    if (z.width() > W && z.height() > H) {
        source = QRect(ox, oy, R((W - s) / m_zoom), R((H - s) / m_zoom));
        target = QRect(0, 0, W - s, H - s);
    } else if (z.width() > W) {
        source = QRect(ox, oy, R((W - s) / m_zoom), image.height());
        target = QRect(0, 0, W - s, z.height());
        if (m_center)
            m_offsetY = (H - z.height()) / 2;
    } else if (z.height() > H) {
        source = QRect(ox, oy, image.width(), R((H - s) / m_zoom));
        target = QRect(0, 0, z.width(), H - s);
        if (m_center)
            m_offsetX = (W - z.width()) / 2;
    } else {
        s = 0;
        source = image.rect();
        target = QRect(0, 0, z.width(), z.height());
        if (m_center) {
            m_offsetX = (W - z.width()) / 2;
            m_offsetY = (H - z.height()) / 2;
        }
    }
    target.translate(m_offsetX, m_offsetY);
    QRegion outside = QRegion(client).subtracted(QRegion(target));
    if (ScrollbarsShown())
        outside = outside.subtracted(QRegion(W - s, 0, s, H)).subtracted(QRegion(0, H - s, W, s));
    painter.setClipRegion(outside);
    painter.fillRect(client, back);
    painter.setClipping(false);
    painter.drawImage(target, image, source);
    m_target = target;
    m_annotations.Draw(painter, m_zoom, m_origin, m_offsetX, m_offsetY);
    if (OnPaintArea)
        OnPaintArea(target.left(), target.top(), target.width(), target.height());
}

void TPMultiImage::paintOverlay(QPainter& painter)
{
    if (m_text.isEmpty())
        return;
    painter.save();
    painter.setFont(font());
    painter.setBackgroundMode(TextTransParent ? Qt::TransparentMode : Qt::OpaqueMode);
    painter.setBackground(platform::ToQColor(m_color));
    const int ascent = painter.fontMetrics().ascent();
    const auto draw = [&](int x, int y, const QColor& color) {
        painter.save();
        painter.translate(x, y);
        painter.rotate(-TextRotate);
        painter.setPen(color);
        painter.drawText(0, ascent, m_text);
        painter.restore();
    };
    if (TextShadow)
        draw(TextLeft + 2, TextTop + 2, platform::ToQColor(TextShadowColor));
    draw(TextLeft, TextTop, palette().color(QPalette::WindowText));
    painter.restore();
}

// --- mouse and keys ----------------------------------------------------------------------

QPoint TPMultiImage::viewToPicture(const QPoint& p) const
{
    return {R((p.x() - m_offsetX) / m_zoom) + m_origin.x(), R((p.y() - m_offsetY) / m_zoom) + m_origin.y()};
}

void TPMultiImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (m_editAnnotat) {
        if (event->button() == Qt::LeftButton) {
            m_annotations.MouseDown(viewToPicture(pos));
            update();
        }
        return;
    }
    if (AllowRubberBand) {
        if (event->button() == RubberBandBtn) {
            m_band = true;
            m_bandStart = m_bandEnd = pos;
        }
        return;
    }
    if (event->button() != Qt::LeftButton || m_graphic)
        return;
    m_last = pos;
    const QSize z = zoomedSize();
    if (m_picture.HasHandle() && !m_stretch && (z.width() > width() || z.height() > height())) {
        m_dragging = true;
        // The grab hand is this control's own cursor; the one it had comes back afterwards.
        m_hadCursor = testAttribute(Qt::WA_SetCursor);
        m_cursorBeforeDrag = cursor();
        setCursor(Qt::ClosedHandCursor);
    }
}

void TPMultiImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_editAnnotat) {
        m_annotations.MouseMove(viewToPicture(pos));
        update();
        return;
    }
    if (m_band) {
        // The band keeps the control's proportions.
        const double g = double(height()) / qMax(1, width());
        const double d = std::hypot(pos.x() - m_bandStart.x(), pos.y() - m_bandStart.y());
        const double h = std::fabs(d / std::sqrt(g * g + 1));
        const double l = g * h;
        const int sx = pos.x() >= m_bandStart.x() ? 1 : -1;
        const int sy = pos.y() >= m_bandStart.y() ? 1 : -1;
        m_bandEnd = m_bandStart + QPoint(R(sx * h), R(sy * l));
        update();
        return;
    }
    if (!m_dragging)
        return;
    const int dx = stepOf(m_last.x(), pos.x(), m_zoom);
    const int dy = stepOf(m_last.y(), pos.y(), m_zoom);
    m_last = pos;
    const QSize z = zoomedSize();
    const int s = ScrollbarsShown() ? ScrollbarWidth : 0;
    const int pw = m_picture.image.width(), ph = m_picture.image.height();
    int ox = m_origin.x(), oy = m_origin.y();
    if (ox + dx < 0 || z.width() < width())
        ox = 0;
    else if (width() - s > (pw - dx - ox) * m_zoom)
        ox = qMax(0, pw - R((width() - s) / m_zoom));
    else
        ox += dx;
    if (oy + dy < 0 || z.height() < height())
        oy = 0;
    else if (height() - s > (ph - dy - oy) * m_zoom)
        oy = qMax(0, ph - R((height() - s) / m_zoom));
    else
        oy += dy;
    m_origin = QPoint(ox, oy);
    layoutScrollbars();
    update();
}

void TPMultiImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_editAnnotat) {
        if (event->button() == Qt::LeftButton && m_annotations.MouseUp(viewToPicture(pos)) && OnAnnoDone)
            OnAnnoDone();
        update();
        return;
    }
    if (m_band && event->button() == RubberBandBtn) {
        m_band = false;
        update();
        if (OnRubberband)
            OnRubberband(event->button(), event->modifiers(), m_bandStart.x(), m_bandStart.y(), m_bandEnd.x(),
                         m_bandEnd.y());
        return;
    }
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        if (m_hadCursor)
            setCursor(m_cursorBeforeDrag);
        else
            unsetCursor();
    }
}

void TPMultiImage::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    const int key = event->key();
    if ((key == Qt::Key_Insert && m == Qt::ShiftModifier) || (key == Qt::Key_V && m == Qt::ControlModifier))
        PasteFromClipboard();
    else if ((key == Qt::Key_Insert && m == Qt::ControlModifier) || (key == Qt::Key_C && m == Qt::ControlModifier))
        CopyToClipboard();
    else if ((key == Qt::Key_Delete && m == Qt::ShiftModifier) || (key == Qt::Key_X && m == Qt::ControlModifier))
        CutToClipboard();
    else
        QWidget::keyPressEvent(event);
}

// --- commands ----------------------------------------------------------------------------

bool TPMultiImage::SaveAsBmp(const QString& fileName)
{
    if (!fileName.isEmpty())
        DefSaveFilename = fileName;
    bool written = false;
    try {
        Progress(0);
        const int bits = ImgSaveBitsFor(QStringLiteral("bmp"), ImageWriteRes,
                                        ScreenBits != 0 ? ScreenBits : ImgScreenBits());
        written = ImgWriteBmpBitmap(DefSaveFilename, bits, m_picture, this);
        if (!written)
            ReportError();
    } catch (...) {
        // The caller learns from the answer; no exception leaves a save.
    }
    if (OnFinishedLoadSave)
        OnFinishedLoadSave();
    return written;
}

bool TPMultiImage::SelectScanSource()
{
    return ImgSelectSource();
}

bool TPMultiImage::ScanImage()
{
    Progress(0);
    EndScrollText(false);
    Bitmap scanned;
    try {
        if (!ImgAcquireBitmap(readBits(), ImageDither, 0, this, scanned))
            ReportError();
    } catch (...) {
        clearPicture();
        return false;
    }
    if (ILUndo)
        ImgUndoPush(m_picture);
    if (!scanned.HasHandle())
        return false;
    replacePicture(scanned, false);
    return true;
}

void TPMultiImage::RotateImage(int x, int y, double angle, int w, int h)
{
    const platform::HourGlass busy;
    Progress(0);
    Bitmap copy = m_picture;
    if (ImgRotateBitmap(copy, x, y, platform::ToQColor(RotateBackColor).rgb(), angle, w, h))
        replacePicture(copy, false);
}

void TPMultiImage::CopyToClipboard()
{
    QByteArray dib;
    if (m_picture.HasHandle() && ImgBitmapToDib(m_picture, dib))
        ImgCopyDibToClipboard(dib);
}

void TPMultiImage::CutToClipboard()
{
    if (!m_picture.HasHandle())
        return;
    CopyToClipboard();
    if (ILUndo)
        ImgUndoPush(m_picture);
    clearPicture();
}

void TPMultiImage::PasteFromClipboard()
{
    const QByteArray dib = ImgDibFromClipboard();
    if (dib.isEmpty())
        return;
    EndScrollText(false);
    if (ILUndo)
        ImgUndoPush(m_picture);
    Bitmap pasted;
    if (ImgDibToBitmap(dib, readBits(), ImageDither, this, pasted))
        replacePicture(pasted, false);
    if (m_stretchRatio)
        fitZoom();
}

void TPMultiImage::ShowTransition(const Bitmap& buffer)
{
    if (!buffer.HasHandle())
        return;
    const platform::HourGlass busy;
    Bitmap source = buffer;
    if (m_stretch) {
        source = Bitmap{buffer.image.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                            .convertToFormat(QImage::Format_RGB888),
                        24};
    } else if (m_stretchRatio) {
        QImage work(size(), QImage::Format_RGB888);
        work.fill(platform::ToQColor(m_color));
        const QRect target = ImgFitRect(buffer.image.size(), size());
        m_offsetX = target.left();
        m_offsetY = target.top();
        QPainter p(&work);
        p.drawImage(target, buffer.image);
        p.end();
        source = Bitmap{work, 24};
    }
    const QString entry = ImgFxEntry(FXMethod);
    if (!entry.isEmpty() && ImgLoadEffectsProc(entry)) {
        binding().ImgProgressText = imagingMessage(msgTransition);
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{m_inTransition};
        const int thickness = FXMethod == FXRectangles ? 4 : FXColRowThick;
        const int steps = ImgEffects()->FxSteps(FXMethod, source.image.size(), thickness);
        m_fxImage = source.image;
        m_inTransition = true;
        for (int step = 1; step <= steps; ++step) {
            m_fxShown = ImgEffects()->FxReveal(FXMethod, source.image.size(), thickness, step);
            repaint();
            if (FXDelay > 0 && steps > 0)
                QThread::msleep(static_cast<unsigned long>(qMax(1, FXDelay / steps)));
        }
        m_fxImage = QImage();
    }
    replacePicture(source, false);
}

// --- scrolling text and annotations ------------------------------------------------------

void TPMultiImage::EndScrollText(bool clearPictureToo)
{
    if (m_scroll.active())
        m_color = m_colorBeforeScroll;
    m_scroll.end();
    if (clearPictureToo)
        clearPicture();
}

void TPMultiImage::ScrollLineStep()
{
    if (m_scroll.lineStep())
        update();
}

void TPMultiImage::ScrollListStep()
{
    if (m_scroll.listStep(size()))
        update();
}

bool TPMultiImage::LoadAnnotations(int page, const QString& fileName)
{
    const bool ok = m_annotations.Load(fileName, page);
    update();
    return ok;
}

bool TPMultiImage::SaveAnnotations(int page, const QString& fileName)
{
    return m_annotations.Save(fileName, page);
}
