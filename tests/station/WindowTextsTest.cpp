#include "MultiLang/MLBase.h"
#include "MultiLang/TranslationTable.h"
#include "addressbook/window/TAsso.h"
#include "addressbook/window/TFTri.h"
#include "addressbook/window/TFiche.h"
#include "addressbook/window/TFind.h"
#include "addressbook/window/TListe.h"
#include "database/window/TwFTri.h"
#include "database/window/TwFiche.h"
#include "database/window/TwFind.h"
#include "database/window/TwForm1.h"
#include "database/window/TwReplace.h"
#include "design/DesignModel.h"
#include "design/window/TAligne.h"
#include "design/window/TChoixD.h"
#include "design/window/TCircLabDial.h"
#include "design/window/TFBarCode.h"
#include "design/window/TGrid.h"
#include "design/window/TImportImage.h"
#include "design/window/TOpenDial.h"
#include "design/window/TPreview.h"
#include "design/window/TRotImage.h"
#include "design/window/TSaisieTexte.h"
#include "design/window/TSaveD.h"
#include "design/window/TFAngle.h"
#include "design/window/TForm1.h"
#include "design/window/TNumAuto.h"
#include "design/window/TPropertyMenus.h"
#include "shell/TAboutBox.h"
#include "station/Station.h"
#include "station/window/TFormat.h"
#include "station/window/TPrintDial.h"
#include "station/window/TAssistant.h"
#include "addressbook/window/TChoix.h"
#include "addressbook/window/TChoixEtik.h"
#include "addressbook/window/TFpPrev.h"
#include "addressbook/window/TIMail.h"
#include "station/window/TNewFor.h"
#include "station/window/TModEtik.h"
#include "station/window/TPrevis.h"
#include "LanguageGuard.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The text a translation row puts into a control, read back the way the translation component
// writes it.
QString shownText(const QObject* control)
{
    // A list's row names its first item; the rows that follow it, the others.
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->itemText(0);
    for (const char* property : {"Caption", "text", "title"})
        if (control->metaObject()->indexOfProperty(property) >= 0)
            return control->property(property).toString();
    return {};
}

} // namespace

// A control renamed in a window's layout would silently lose its texts: every control a table
// names must be in its window and show the table's English text, hint included.
TEST(WindowTexts, EveryTableRowReachesItsControl)
{
    testsupport::LanguageGuard english(1);
    QTemporaryDir dir;
    const station::TSheetPage page;
    const addressbook::TMailingJob job;
    const station::TStationFolders folders;
    const auto liste = std::make_unique<addressbook::TListe>(dir.filePath("none.ini"));
    // The database's card and dialogs belong to its window.
    const auto base = std::make_unique<database::TwForm1>(dir.filePath("none.ini"), dir.path());
    station::TStation designStation(station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true),
                                    dir.filePath("none.ini"));
    design::TCurrentFormat format;
    design::TDesignModel model(format);
    const std::pair<QString, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"TChoixD", [] { return std::make_unique<TChoixD>(); }},
        {"TFAngle", [] { return std::make_unique<TFAngle>(); }},
        {"TAligne", [] { return std::make_unique<TAligne>(); }},
        {"TGrid", [] { return std::make_unique<TGrid>(); }},
        {"TSaveD", [&] { return std::make_unique<TSaveD>(dir.path()); }},
        {"TOpenDial", [&] { return std::make_unique<TOpenDial>(dir.path(), true); }},
        {"TFBarCode", [] { return std::make_unique<TFBarCode>(); }},
        {"TCircLabDial", [] { return std::make_unique<TCircLabDial>(); }},
        {"TSaisieTexte", [] { return std::make_unique<TSaisieTexte>(); }},
        {"TImportImage", [] { return std::make_unique<TImportImage>(); }},
        {"TPreview", [&] { return std::make_unique<TPreview>(model); }},
        {"TRotImage", [] { return std::make_unique<TRotImage>(QImage(), 0); }},
        {"TPropertyMenus", [] { return std::make_unique<TPropertyMenus>(); }},
        {"TAboutBox", [] { return std::make_unique<TAboutBox>(); }},
        {"TNumAuto", [&] { return std::make_unique<TNumAuto>(nullptr, dir.filePath("none.ini")); }},
        {"TFormat", [&] { return std::make_unique<station::TFormat>(nullptr, dir.path(), dir.filePath("none.ini")); }},
        {"TPrevis", [] { return std::make_unique<station::TPrevis>(); }},
        {"TNewFor", [] { return std::make_unique<station::TNewFor>(); }},
        {"TModEtik", [&] { return std::make_unique<station::TModEtik>(dir.path(), dir.filePath("none.ini")); }},
        {"TPrintDial", [&] { return std::make_unique<station::TPrintDial>(page, folders); }},
        {"TListe", [&] { return std::make_unique<addressbook::TListe>(dir.filePath("none.ini")); }},
        {"TFiche", [&] { return std::make_unique<addressbook::TFiche>(liste.get()); }},
        {"TFTri", [] { return std::make_unique<addressbook::TFTri>(); }},
        {"TFind", [&] { return std::make_unique<addressbook::TFind>(liste.get()); }},
        {"TAsso", [] { return std::make_unique<addressbook::TAsso>(); }},
        {"TAssistant", [] { return std::make_unique<station::TAssistant>(); }},
        {"TChoix", [] { return std::make_unique<addressbook::TChoix>(); }},
        {"TChoixEtik", [] { return std::make_unique<addressbook::TChoixEtik>(); }},
        {"TIMail", [] { return std::make_unique<addressbook::TIMail>(); }},
        {"TFpPrev", [&] { return std::make_unique<addressbook::TFpPrev>(job, nullptr, QSize(21000, 29700)); }},
        {"TwForm1", [&] { return std::make_unique<database::TwForm1>(dir.filePath("none.ini"), dir.path()); }},
        {"TwFiche", [&] { return std::make_unique<database::TwFiche>(base.get(), dir.filePath("none.ini")); }},
        {"TwFind", [&] { return std::make_unique<database::TwFind>(base.get()); }},
        {"TwReplace", [&] { return std::make_unique<database::TwReplace>(base.get()); }},
        {"TwFTri", [] { return std::make_unique<database::TwFTri>(); }},
        {"TForm1", [&] { return std::make_unique<TForm1>(designStation); }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name.toStdString());
        const std::unique_ptr<QWidget> window = make();
        const TranslationTable table = readTranslationTable(":/lang/" + name + ".txt");
        const int length = table.Languages + 1;
        const QObject* control = nullptr;
        int controls = 0;
        for (qsizetype row = 0; row + length <= table.Words.size(); row += length) {
            const QString& key = table.Words[row];
            const QString english = table.Words[row + 2];
            if (key == "%Form%") {
                EXPECT_EQ(window->windowTitle(), english);
                ++controls;
            } else if (key.compare("\".Hint", Qt::CaseInsensitive) == 0) {
                ASSERT_NE(control, nullptr);
                EXPECT_EQ(control->property("toolTip").toString(), english) << control->objectName().toStdString();
            } else if (!key.startsWith('@') && !key.startsWith('"')) {
                control = window->findChild<QObject*>(key);
                ASSERT_NE(control, nullptr) << key.toStdString();
                // A row without text only carries the hint below it (a spin box's).
                if (!english.isEmpty()) {
                    EXPECT_EQ(shownText(control), english) << key.toStdString();
                }
                ++controls;
            }
        }
        EXPECT_GT(controls, 0);
    }
}
