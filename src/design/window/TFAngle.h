#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class QScrollBar;
class TMultiLang;
class TRotateLabelView;

// "Slope of the text": picks the angle of a tilted text. Four preset angles (0, 90, 180, 270)
// shown as tilted samples, and a free angle set with a scroll bar (top 359 degrees, bottom 0)
// shown by a fifth sample. The caller sets Angle and the caption, shows it modally and reads
// Angle back after OK; the dialog changes nothing outside itself.
class TFAngle : public QDialog {
    Q_OBJECT
public:
    explicit TFAngle(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    TRotateLabelView* RotateLabel1 = nullptr;
    TRotateLabelView* RotateLabel2 = nullptr;
    TRotateLabelView* RotateLabel3 = nullptr;
    TRotateLabelView* RotateLabel4 = nullptr;
    QFrame* Bevel2 = nullptr;
    TRotateLabelView* RotateLabel5 = nullptr;
    QScrollBar* ScrollBar = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    TMultiLang* MultiLang1 = nullptr;

    // The chosen angle in degrees.
    int Angle = 0;

    void RotateLabel1Click();
    void RotateLabel2Click();
    void RotateLabel3Click();
    void RotateLabel4Click();
    void RotateLabel5Click();
    void ScrollBarChange();
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void highlight(TRotateLabelView* chosen);
};
