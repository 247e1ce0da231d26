// The imaging layer's dialogs: its messages reach the message box, and the scanner is chosen in
// a list of the devices SANE sees.
#include "ImagingTestSupport.h"

#include "imaging/Scanner.h"
#include "imaging/window/ImagingDialogs.h"
#include "platform/window/Dialogs.h"

#include <QComboBox>
#include <QInputDialog>

using namespace imaging;

TEST(ImagingDialogs, MessagesGoToTheBoxAndTheSourceIsPickedFromSanesList)
{
    imagingtest::useSaneBackends("test\n");
    platform::DialogHooksGuard guard;
    installImagingDialogs();
    setImagingLibraryFactory({});
    chosenScanDevice().clear();

    QStringList boxes;
    platform::dialogHooks().messageBox = [&](QMessageBox& box) { boxes << box.text(); };
    ShowImagingMessage(imagingMessage(msgLibraryException));
    EXPECT_EQ(boxes, QStringList({imagingMessage(msgLibraryException)}));

    QStringList items;
    platform::dialogHooks().inputDialog = [&](QInputDialog& dialog) {
        items = dialog.comboBoxItems();
        dialog.setTextValue(items.value(1));
        return true;
    };
    EXPECT_TRUE(ImgSelectSource());
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[1].endsWith(QStringLiteral("(test:1)")));
    EXPECT_EQ(chosenScanDevice(), QStringLiteral("test:1"));

    // Cancel: nothing chosen anew.
    platform::dialogHooks().inputDialog = [](QInputDialog&) { return false; };
    EXPECT_FALSE(ImgSelectSource());
    EXPECT_EQ(chosenScanDevice(), QStringLiteral("test:1"));

    setImagingMessageSink({});
    setScanSourceChooser({});
    chosenScanDevice().clear();
}
