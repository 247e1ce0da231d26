#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;
class TRotateLabelView;

namespace Ui {
class TFAngle;
}

// "Slope of the text": picks the angle of a tilted text. Four preset angles (0, 90, 180, 270)
// shown as tilted samples, and a free angle set with a scroll bar (top 359 degrees, bottom 0)
// shown by a fifth sample. The caller sets Angle and the caption, shows it modally and reads
// Angle back after OK; the dialog changes nothing outside itself.
class TFAngle : public QDialog {
    Q_OBJECT
public:
    explicit TFAngle(QWidget* parent = nullptr);
    ~TFAngle() override;

    // The controls, by their names (resources/ui/TFAngle.ui).
    const std::unique_ptr<Ui::TFAngle> ui;
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
    void setUpSamples();
    void connectEvents();
    void highlight(TRotateLabelView* chosen);
};
