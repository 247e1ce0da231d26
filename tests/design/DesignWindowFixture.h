#pragma once

#include "design/DesignModel.h"
#include "design/window/TForm1.h"
#include "ui_TForm1.h"

#include "MultiLang/MLBase.h"
#include "platform/window/Dialogs.h"
#include "station/Station.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// What every test of the design window starts from: the window on a station of its own in a
// temporary folder, in English, with a 300 x 200 pixel label. Message-box hooks a test sets in its
// SetUp before openWindow are in place while the window opens.
class DesignWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        SetGlobalLanguage(1);
    }
    // `beforeShow` runs on the window once it is made, before it shows.
    void openWindow(const std::function<void(TForm1&)>& beforeShow = {})
    {
        station = std::make_unique<station::TStation>(
            station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true), dir.filePath("pravolis.ini"));
        station->Start(QSize(1024, 768), dir.path());
        model().LargeurEtiquettePx = 300;
        model().HauteurEtiquettePx = 200;
        form = std::make_unique<TForm1>(*station);
        if (beforeShow)
            beforeShow(*form);
        form->resize(900, 700);
        form->show();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        model().Modifie = false; // no question when the window goes
        form.reset();
        SetGlobalLanguage(m_language);
    }

    design::TDesignModel& model() { return station->Designer; }
    Ui::TForm1& ui() { return *form->ui; }
    // A surface point in window coordinates.
    QPoint at(QPoint surface) { return ui().Feuille->mapTo(form.get(), surface); }

    QTemporaryDir dir;
    platform::DialogHooksGuard hooks;
    std::unique_ptr<station::TStation> station;
    std::unique_ptr<TForm1> form;

private:
    int m_language = 0;
};
