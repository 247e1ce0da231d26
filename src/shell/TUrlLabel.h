#pragma once

#include "platform/TColor.h"

#include <QLabel>

class QAction;

// A hyperlink: blue, underlined, with the hand cursor. A click opens URL (or the caption when
// URL is blank) with the desktop's program for it; while the button is down the text takes
// ActiveColor. Its pop-up menu copies the caption.
class TUrlLabel : public QLabel {
    Q_OBJECT
public:
    explicit TUrlLabel(QWidget* parent = nullptr);

    QString URL;
    platform::TColor ActiveColor = platform::clPurple;

    // What a click opens: URL trimmed, or the caption when URL is blank.
    QString Target() const;
    void Click();

    QAction* CopyItem = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setTextColor(const QColor& color);

    QColor m_savedColor;
    bool m_pressed = false;
};
