#include "shell/TAboutBox.h"
#include "shell/TWAVPlayer.h"
#include "ui_TAboutBox.h"

#include "MultiLang/MLBase.h"
#include "platform/Paths.h"
#include "platform/window/Application.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A program folder of the test's own, English, and the application title the station gives.
class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = platform::programFolder();
        platform::setProgramFolder(m_dir.path());
        m_language = GlobalLanguage();
        SetGlobalLanguage(1);
        m_title = platform::Application::Title();
        platform::Application::SetTitle("Pravolis");
    }
    void TearDown() override
    {
        soundHooks() = {};
        platform::setProgramFolder(m_folder);
        SetGlobalLanguage(m_language);
        platform::Application::SetTitle(m_title);
    }

    // Opens the box as the station does and makes it the active window.
    static void open(TAboutBox& box)
    {
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_title;
    int m_language = 0;
};

} // namespace

// No sound file, and whatever audio this machine has: the box opens silently, and shows who it is.
TEST_F(AboutBoxTest, OpensSilentlyWithoutASoundFile)
{
    TAboutBox box;
    open(box);
    EXPECT_FALSE(box.WAVPlayer->Playing());
    EXPECT_EQ(box.windowTitle(), "About Pravolis");
    EXPECT_EQ(box.ui->Titre->text(), "Pravolis");
    EXPECT_EQ(box.ui->Label3->text(), "for Linux");
    EXPECT_EQ(box.ui->Label2->text(), TAboutBox::MakerNotice());
    EXPECT_TRUE(box.ui->Label1->text().startsWith("Version "));
    EXPECT_FALSE(box.ui->GlassImage1->isVisible());
    QTest::mouseClick(box.ui->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

// With a sound output and "about.wav" in the program folder, the sound loops while the box is
// open and stops however the box is closed.
TEST_F(AboutBoxTest, LoopsTheSoundWhileOpen)
{
    QStringList played;
    int stops = 0;
    bool hasOutput = true;
    soundHooks().hasOutput = [&] { return hasOutput; };
    soundHooks().play = [&](const QString& file, bool loop) {
        EXPECT_TRUE(loop);
        played << file;
    };
    soundHooks().stop = [&] { ++stops; };
    testsupport::writeBytes(m_dir.filePath("about.wav"), "RIFF");

    const std::function<void(TAboutBox&)> closings[] = {
        [](TAboutBox& box) { QTest::mouseClick(box.ui->BitBtn1, Qt::LeftButton); },
        [](TAboutBox& box) { QTest::keyClick(&box, Qt::Key_Escape); },
        [](TAboutBox& box) { box.close(); },
    };
    TAboutBox box;
    for (const auto& close : closings) {
        played.clear();
        stops = 0;
        open(box);
        ASSERT_EQ(played, QStringList{m_dir.filePath("about.wav")});
        EXPECT_TRUE(box.WAVPlayer->Playing());
        close(box);
        EXPECT_FALSE(box.isVisible());
        EXPECT_GE(stops, 1);
        EXPECT_FALSE(box.WAVPlayer->Playing());
    }

    // No sound output: the file is there but nothing plays.
    hasOutput = false;
    played.clear();
    TAboutBox mute;
    open(mute);
    EXPECT_TRUE(played.isEmpty());
    EXPECT_FALSE(mute.WAVPlayer->Playing());
    mute.close();
}
