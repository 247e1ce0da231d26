#include "imaging/window/ImagingDialogs.h"

#include "imaging/Binding.h"
#include "imaging/Scanner.h"
#include "platform/window/Dialogs.h"

#include <QApplication>
#include <QInputDialog>

namespace imaging {

namespace {

int chooseSource(const QList<ScanDevice>& devices)
{
    QStringList labels;
    for (const ScanDevice& d : devices)
        labels << d.label();
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Select Source"));
    dialog.setLabelText(QStringLiteral("Sources:"));
    dialog.setComboBoxItems(labels);
    dialog.setComboBoxEditable(false);
    const int current = labels.indexOf(
        [&] {
            for (const ScanDevice& d : devices)
                if (d.name == chosenScanDevice())
                    return d.label();
            return QString();
        }());
    dialog.setTextValue(labels.value(qMax(0, current)));
    const bool accepted = platform::dialogHooks().inputDialog
                              ? platform::dialogHooks().inputDialog(dialog)
                              : dialog.exec() == QDialog::Accepted;
    return accepted ? int(labels.indexOf(dialog.textValue())) : -1;
}

} // namespace

void installImagingDialogs()
{
    setImagingMessageSink([](const QString& text) {
        platform::MessageDlg(text, platform::mtWarning, platform::mbOK);
    });
    setScanSourceChooser(chooseSource);
}

} // namespace imaging
