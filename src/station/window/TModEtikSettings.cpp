#include "TModEtik.h"
#include "ui_TModEtik.h"

#include "TFormat.h"
#include "ui_TFormat.h"

#include "MultiLang/MLang.h"
#include "database/DbTable.h"
#include "design/window/TNumAuto.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/WindowPlace.h"
#include "shell/SystemQueries.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

// The station's settings: read when it is made, written with the rest of the program's state
// when it closes.
namespace station {

namespace {

QSize screenSize()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        return s->geometry().size();
    return {1024, 768};
}

} // namespace

void TModEtik::FormCreate()
{
    if (m_created)
        return;
    m_created = true;
    platform::Application::SetTitle(QStringLiteral("Pravolis"));
    const QSize screen = screenSize();
    resize(640, 480);
    move((screen.width() - 640) / 2, (screen.height() - 480) / 2);
    CheminExemples = LecteurCDROM() + QStringLiteral("/exemples/");
    Station.Designer.ExamplesFolder = CheminExemples;
    const QString folderError = Station.Start(screen, QDir::homePath());
    if (!folderError.isEmpty())
        platform::Application::ShowError(GetText(QStringLiteral("@NoFolders")) + folderError);

    const TStationSettings& s = Station.Settings;
    platform::RestoreWindowPlace(this, s.Main);
    m_lastSize = size();
    ui->coupe->setChecked(s.Coupe);
    ui->wysiwyg->setChecked(s.Wysiwyg);
    ui->SwitchBtn->setChecked(s.Switch);
    PremiereFois = s.FirstTime;
    CheminImagesPerso = s.CheminImagesPerso;

    // Every window from now on starts in English; the language menu is not offered.
    SetGlobalLanguage(1);
    MajTitre();
}

void TModEtik::closeEvent(QCloseEvent* event)
{
    if (!m_exitDone && !ConfirmSave()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

QStringList TModEtik::FormClose()
{
    if (m_exitDone)
        return {};
    m_exitDone = true;
    m_closing = true;
    TStationSettings& s = Station.Settings;
    s.Main = platform::SaveWindowPlace(this);
    s.Coupe = ui->coupe->isChecked();
    s.Wysiwyg = ui->wysiwyg->isChecked();
    s.Switch = DatabaseIsSource();
    s.FirstTime = PremiereFois;
    s.CheminImagesPerso = CheminImagesPerso;
    TExitSteps steps;
    if (!m_format.isNull()) {
        s.LastFormat = {m_format->ui->ComboBox->currentIndex(), m_format->ui->ListBox->currentRow()};
        steps.WriteFamilies = [format = m_format] { return format->SaveFamilies(); };
    }
    if (!m_numAuto.isNull())
        steps.WriteNumbering = [numAuto = m_numAuto](platform::TIniFile& ini) { numAuto->WriteSettings(ini); };
    if (m_database != nullptr) {
        // Saved without asking whenever it has a file; a table whose file failed to read was
        // never named after it, so this never writes over a file it did not come from.
        steps.SaveDatabase = [table = m_database] {
            if (!table->NomFichier.isEmpty())
                table->SaveTo(table->NomFichier);
        };
    }
    QStringList failures = Station.Exit(steps);
    if (SaveAddressBook)
        failures << SaveAddressBook();
    if (!failures.isEmpty())
        platform::MessageDlg(GetText(QStringLiteral("@ExitErrors")) + u'\n' + failures.join(u'\n'),
                             platform::mtError, platform::mbOK);
    return failures;
}

} // namespace station
