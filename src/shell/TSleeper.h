#pragma once

#include <QObject>

class QTimer;

// Waits a set time while the program keeps serving its events, without spinning the processor.
class TSleeper : public QObject {
    Q_OBJECT
public:
    explicit TSleeper(QObject* parent = nullptr);
    ~TSleeper() override;

    // Milliseconds.
    int Interval() const;
    void SetInterval(int ms);

    // Returns after Interval milliseconds; events are processed meanwhile.
    void Sleep();

private:
    void TimerTick();

    QTimer* m_timer = nullptr;
    bool m_done = false;
};
