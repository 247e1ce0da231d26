#pragma once

#include <QScrollArea>

// A scroll box that tells when it scrolled, so that the rulers beside a scrolled surface can
// follow it. Scrolling from code is reported too.
class TMivoScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit TMivoScrollBox(QWidget* parent = nullptr);

signals:
    void OnVertScroll(QObject* Sender);
    void OnHorzScroll(QObject* Sender);
};
