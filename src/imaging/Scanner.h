#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <functional>

// Scanners through SANE: the list of devices it sees, the choice of one, and one page from it.
namespace imaging {

struct ScanDevice {
    QString name;   // what SANE opens ("test:0", "genesys:libusb:001:004")
    QString vendor;
    QString model;
    QString type;
    // "vendor model (name)", as the source list shows it.
    QString label() const;
};

// The devices SANE sees; false with `why` when SANE cannot start.
bool scanDevices(QList<ScanDevice>& devices, QString* why = nullptr);

// Picks one of the devices (its index), or -1 when the user cancelled. The window layer puts a
// dialog here; without one the first device is taken.
using ScanSourceChooser = std::function<int(const QList<ScanDevice>& devices)>;
void setScanSourceChooser(ScanSourceChooser chooser);
int chooseScanSource(const QList<ScanDevice>& devices);

// The device chosen last, kept for the scans that follow (empty: none chosen yet).
QString& chosenScanDevice();

// The resolution pages are scanned at, in dots per inch (150 unless set), where the device lets
// it be set.
void setScanResolution(int dotsPerInch);
int scanResolution();

// One page from the device with its other settings as they are: Format_Mono, Format_Grayscale8 or
// RGB888 by what the device sends (16-bit samples are brought to 8). `bits` receives 1, 8 or
// 24. `progress` is called with percentages when the page size is known and stops the scan
// when it answers false. A null image with `why` on failure.
QImage scanPage(const QString& device, int* bits, QString* why,
                const std::function<bool(int)>& progress = {});

} // namespace imaging
