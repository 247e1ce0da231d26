#include "TMivoScrollBox.h"

#include <QScrollBar>

TMivoScrollBox::TMivoScrollBox(QWidget* parent) : QScrollArea(parent)
{
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit OnVertScroll(this); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit OnHorzScroll(this); });
}
