#include "platform/TPrinter.h"

#include <QPaintEngine>
#include <QPainter>

namespace platform {

namespace {

// A device that keeps its paint engine from one job to the next (QPrinter does) gets the
// painter's state changes only when something is drawn after them: a transformation set back
// after a job's last turned text never reaches it, and the next job, whose painter starts
// from "no transformation", would draw turned. So the painter's first state is sent to the
// engine whole, at the start of a job and again at its end.
void sendFirstPainterState(TCanvas& canvas)
{
    QPainter* painter = canvas.Painter();
    if (painter == nullptr || !painter->isActive())
        return;
    painter->resetTransform();
    painter->setClipRect(QRect(), Qt::NoClip);
    painter->setOpacity(1.0);
    painter->setBrushOrigin(0, 0);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->setBackgroundMode(Qt::TransparentMode);
    painter->setPen(QPen());
    painter->setBrush(Qt::NoBrush);
    if (QPaintEngine* engine = painter->paintEngine(); engine != nullptr && !engine->isExtended()) {
        engine->setDirty(QPaintEngine::AllDirty);
        engine->syncState();
    }
    // The canvas sends its pen, brush, font and clip again before it next draws.
    canvas.Refresh();
}

} // namespace

TPrinter::~TPrinter() = default;

void TPrinter::SetCopies(int copies)
{
    m_copies = copies < 1 ? 1 : copies;
}

void TPrinter::SetTitle(const QString& title)
{
    m_title = title;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    requireIdle("orientation");
    m_orientation = orientation;
}

void TPrinter::BeginDoc(const TPrintJob& job)
{
    requireIdle("BeginDoc");
    m_own = {m_orientation};
    if (job.Orientation)
        m_orientation = *job.Orientation;
    m_range = job.Range;
    try {
        startDocument();
    } catch (...) {
        putBackSettings();
        throw;
    }
    m_heapHold = std::make_unique<HeapHold>();
    sendFirstPainterState(Canvas());
}

void TPrinter::EndDoc()
{
    requirePrinting("EndDoc");
    sendFirstPainterState(Canvas());
    struct PutBack {
        TPrinter& printer;
        ~PutBack() { printer.putBackSettings(); }
    } putBack{*this};
    endDocument();
}

void TPrinter::Abort()
{
    if (!m_printing)
        return;
    sendFirstPainterState(Canvas());
    struct PutBack {
        TPrinter& printer;
        ~PutBack() { printer.putBackSettings(); }
    } putBack{*this};
    abortDocument();
}

void TPrinter::putBackSettings()
{
    m_heapHold.reset();
    m_orientation = m_own.Orientation;
    m_range = prAllPages;
}

void TPrinter::requireIdle(const char*) const
{
    if (m_printing)
        throw EPrinter(QStringLiteral("Printing in progress"));
}

void TPrinter::requirePrinting(const char*) const
{
    if (!m_printing)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
}

} // namespace platform
