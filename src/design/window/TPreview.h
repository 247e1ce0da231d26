#pragma once

#include "design/FieldCodes.h"
#include "design/Pictures.h"

#include <QImage>
#include <QMetaObject>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TPreview;
}

namespace design {
class TDesignModel;
}

namespace platform {
class TStringGrid;
}

// The live preview: the design being edited, drawn by the renderer for the current record of the
// merge source, in a small tool window above the editor that keeps the label's proportions. It
// stays above its editor only, never above the dialogs the editor opens. It holds
// no state of its own: the design, the label size and the round-label flag are the model's, the
// record is the merge grid's current row. While shown it follows the record (a move on the grid,
// a change of its cells) and the navigation buttons move the record as the source's card does.
class TPreview : public QWidget {
    Q_OBJECT
public:
    explicit TPreview(design::TDesignModel& model, QWidget* parent = nullptr);
    ~TPreview() override;

    const std::unique_ptr<Ui::TPreview> ui;
    TMultiLang* MultiLang1 = nullptr;

    // --- What the station and the design window give (each may stay empty) ---
    // The merge source's records (row 0 holds the titles); none: texts merge the special codes
    // only.
    std::function<const platform::TStringGrid*()> MergeGrid;
    // The database is the merge source (else the address book).
    std::function<bool()> DatabaseIsSource;
    std::function<design::MergeNumbering()> Numbering;
    // The source card's navigation: a button's command (0 first, 1 previous, 2 next, 3 last) and
    // the buttons' enabled states (without them, the states follow the grid's current row).
    std::function<void(int button)> CardNavigate;
    std::function<std::array<bool, 4>()> CardButtons;

    // Draws the design for the current record (the caption, then the background, then, while the
    // window is shown, the design) and shows it; a shown window first takes the label's
    // proportions when they changed.
    void PaintBoxPaint();
    // The source's name and the navigation buttons' states.
    void UpdateNavigation();
    // Shows the preview (restoring it when minimised), sized from the screen, beside `owner`
    // (the window whose button asked for it; none: the design window), off `keepClear` (global:
    // the part of the owner that stays in sight). Where there is no room for it beside that part,
    // it takes the room there is, smaller, its proportions kept; with no room worth the name, the
    // owner and the preview share the screen.
    void Execute(QWidget* owner = nullptr, const QRect& keepClear = {});
    // After the user resized the window: takes the label's proportions again and redraws.
    void FormResize();
    void BeginBtnClick() { navigate(0); }
    void RewBtnClick() { navigate(1); }
    void FFBtnClick() { navigate(2); }
    void EndBtnClick() { navigate(3); }

    // The drawing shown, and how many times the design was drawn on it.
    const QImage& Bitmap() const { return m_bitmap; }
    int DesignDraws() const { return m_draws; }

signals:
    // Closed by the user: the buttons that show the preview pop up.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void followGrid();
    void navigate(int button);
    QSize labelSize() const;
    void fitToLabel();
    int toolbarHeight() const;
    void keepOff(QWidget* owner, const QRect& keepClear);

    design::TDesignModel& m_model;
    design::TPictureCache m_pictures;
    QImage m_bitmap;
    const platform::TStringGrid* m_grid = nullptr;
    QList<QMetaObject::Connection> m_gridConnections;
    int m_draws = 0;
    bool m_sizing = false;
};
