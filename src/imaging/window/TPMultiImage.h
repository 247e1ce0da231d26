#pragma once

#include "imaging/Annotations.h"
#include "imaging/Binding.h"
#include "imaging/Effects.h"
#include "imaging/PictureFile.h"
#include "imaging/ScrollText.h"
#include "platform/TColor.h"

#include <QRegion>
#include <QWidget>

#include <functional>

class QScrollBar;

// The image control: reads pictures of every supported format, shows them stretched, centred,
// 1:1 or in a zoomed view with scroll bars and grab-hand dragging, converts them to BMP files,
// rotates them and receives scans. All reading, writing, scanning and rotating goes through the
// imaging core; this class holds the view and paints. Painting happens only in paintEvent:
// transitions, scrolling text and the rubber band are state plus repaints.
class TPMultiImage : public QWidget, public imaging::ProgressContext {
    Q_OBJECT
public:
    enum TBlitMode { sLight, sDark, sLightest };
    enum TBorderStyle { bsNone, bsSingle };
    enum TPCDMode { pcd_BASE16, pcd_BASE4, pcd_BASE };

    explicit TPMultiImage(QWidget* parent = nullptr);
    ~TPMultiImage() override;

    // Writing the name reads the file; a missing file (or an empty name) clears the picture.
    void SetImageName(const QString& name);
    const QString& ImageName() const { return m_imageName; }

    const imaging::Bitmap& Picture() const { return m_picture; }
    void SetPicture(const imaging::Bitmap& picture);
    bool Empty() const { return !m_picture.HasHandle(); }
    // The picture is an icon (drawn as a graphic).
    bool IsGraphic() const { return m_graphic; }
    const imaging::TImageInfo& ImageInfo() const { return m_info; }

    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);
    bool Center() const { return m_center; }
    void SetCenter(bool on);
    bool StretchRatio() const { return m_stretchRatio; }
    void SetStretchRatio(bool on);
    bool Scrolling() const { return m_scrolling; }
    void SetScrolling(bool on);
    bool ShowScrollbars() const { return m_showScrollbars; }
    void SetShowScrollbars(bool on);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    void SetTileWindow(bool on);
    void SetColor(platform::TColor color);
    platform::TColor Color() const { return m_color; }
    void SetBorderStyle(TBorderStyle style);
    void SetText(const QString& text);

    int ScrollbarWidth = 12;
    TBlitMode BlitMode = sLight;
    imaging::TLoadResolution ImageReadRes = imaging::lAutoMatic;
    imaging::TSaveResolution ImageWriteRes = imaging::sAutoMatic;
    bool ImageDither = false;
    TPCDMode PCDMode = pcd_BASE4;
    int TiffPage = 0;
    QString DefSaveFilename;
    bool ILUndo = true;
    platform::TColor RotateBackColor = platform::clBtnFace;
    imaging::TFXMethod FXMethod = imaging::FXNone;
    int FXDelay = 25;
    int FXColRowThick = 4;
    int TextLeft = 0, TextTop = 0, TextRotate = 0;
    bool TextTransParent = true, TextShadow = false;
    platform::TColor TextShadowColor = platform::clBlack;
    bool AllowRubberBand = false;
    Qt::MouseButton RubberBandBtn = Qt::LeftButton;
    bool AutoLoadAnno = false, AutoSaveAnno = false;
    QString AnnoFileName;
    // The screen depth the automatic read and save resolutions stand for (0: the screen's).
    int ScreenBits = 0;

    bool EditAnnotat() const { return m_editAnnotat; }
    void SetEditAnnotat(bool on);

    // The view: zoom and the picture pixel at the top-left.
    double Zoom() const { return m_zoom; }
    QPoint Origin() const { return m_origin; }
    // Zooms the view (the zoomed view shows the picture at this scale); 0 or below is refused.
    void SetZoom(double zoom);
    void SetOrigin(const QPoint& origin);
    // The zoomed view's source and target rectangles as the last paint used them.
    QRect TargetRect() const { return m_target; }

    // Events.
    std::function<bool(int percent, const QString& text)> OnProgress; // false: stop
    std::function<void(int code, const QString& text)> OnIlibError;
    std::function<void()> OnFinishedLoadSave;
    std::function<void()> OnPictureChanged;
    std::function<void()> OnPaint;
    std::function<void(int x, int y, int xx, int yy)> OnPaintArea;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y, int xx, int yy)> OnRubberband;
    std::function<void()> OnAnnoDone;

    // Writes the picture as a BMP file (an empty name keeps DefSaveFilename); true when it was
    // written. Nothing is thrown.
    bool SaveAsBmp(const QString& fileName = QString());
    bool SelectScanSource();
    // One page from the chosen scanner into the picture; false when nothing came.
    bool ScanImage();
    // Turns the picture by `angle` degrees counter-clockwise, uncovered corners in
    // RotateBackColor; the part X, Y, X + W, Y + H (W or H 0: all). Throws ErrorInvalid for an
    // empty picture; a failed rotation keeps the picture.
    void RotateImage(int x, int y, double angle, int w, int h);

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    int Progress(int percent) override;
    // Reports the library's last failure: OnIlibError when set, else ErrorInvalid.
    void ReportError();
    bool GetImageInfo(const QString& fileName);

    // Scrolling text.
    const imaging::ScrollText& Scroll() const { return m_scroll; }
    void EndScrollText(bool clearPicture);
    void ScrollLineStep();
    void ScrollListStep();

    // Annotations.
    imaging::AnnotationLayer& Annotations() { return m_annotations; }
    void ClearAnnotations() { m_annotations.Clear(); }
    bool LoadAnnotations(int page, const QString& fileName);
    bool SaveAnnotations(int page, const QString& fileName);
    QString AnnoFileNameFor() const { return imaging::AnnoFileNameFor(AnnoFileName, m_imageName); }

    // Draws the transition buffer with FXMethod and makes it the picture.
    void ShowTransition(const imaging::Bitmap& buffer);
    bool Dragging() const { return m_dragging; }
    bool ScrollbarsShown() const;
    QScrollBar* HorzScrollBar() const { return m_hbar; }
    QScrollBar* VertScrollBar() const { return m_vbar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintPicture(QPainter& painter);
    void paintOverlay(QPainter& painter);
    void pictureChanged();
    void replacePicture(const imaging::Bitmap& bitmap, bool graphic);
    void clearPicture();
    void commonEnding();
    void fitZoom();
    void layoutScrollbars();
    int readBits() const;
    int scrollWidthInUse() const;
    QSize zoomedSize() const;
    QPoint viewToPicture(const QPoint& p) const;

    QString m_imageName;
    imaging::Bitmap m_picture;
    bool m_graphic = false;
    imaging::TImageInfo m_info;
    bool m_stretch = false, m_center = false, m_stretchRatio = false, m_scrolling = true;
    bool m_showScrollbars = true, m_autoSize = false, m_tile = false;
    platform::TColor m_color = platform::clBtnFace;
    TBorderStyle m_border = bsNone;
    QString m_text;
    double m_zoom = 1.0;
    QPoint m_origin, m_savedOrigin;
    double m_savedZoom = 1.0;
    int m_offsetX = 0, m_offsetY = 0;
    QRect m_target;
    QScrollBar* m_vbar = nullptr;
    QScrollBar* m_hbar = nullptr;
    QWidget* m_corner = nullptr;
    bool m_loading = false;
    bool m_dragging = false;
    QPoint m_last;
    QCursor m_cursorBeforeDrag;
    bool m_hadCursor = false;
    bool m_band = false;
    QPoint m_bandStart, m_bandEnd;
    bool m_editAnnotat = false;
    imaging::AnnotationLayer m_annotations;
    imaging::ScrollText m_scroll;
    platform::TColor m_colorBeforeScroll = platform::clBtnFace;
    // A transition in progress: the picture coming in and the part of it shown so far.
    QImage m_fxImage;
    QRegion m_fxShown;
    bool m_inTransition = false;
};
