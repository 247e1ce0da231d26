#include "TAboutBox.h"
#include "ui_TAboutBox.h"

#include "MultiLang/MLang.h"
#include "platform/Paths.h"
#include "platform/window/Application.h"
#include "shell/TWAVPlayer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSysInfo>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    WAVPlayer = new TWAVPlayer(this);
    WAVPlayer->SoundType = stLoop;
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TAboutBox.txt"));
    MultiLang1->Loaded();
    connectEvents();
    ui->Label1->setText(QStringLiteral("Version 9.1 - %1 bits").arg(QSysInfo::WordSize));
}

TAboutBox::~TAboutBox() = default;

QString TAboutBox::MakerNotice()
{
    return QStringLiteral("\u00A9 The Pravolis developers");
}

void TAboutBox::connectEvents()
{
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

void TAboutBox::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TAboutBox::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TAboutBox::hideEvent(QHideEvent* event)
{
    // OK, Escape, the window's close button and closing from code all end here.
    FormClose();
    QDialog::hideEvent(event);
}

void TAboutBox::FormShow()
{
    const QString title = platform::Application::Title();
    setWindowTitle(MultiLang1->GetText(QStringLiteral("@1")) + title);
    ui->Titre->setText(title);
    const QIcon icon = QApplication::windowIcon();
    ui->Icone->setPixmap(icon.pixmap(ui->Icone->size()));
    ui->Label2->setText(MakerNotice());
    ui->GlassImage1->hide();
}

void TAboutBox::FormActivate()
{
    if (!WAVPlayer->WAVCapable)
        return;
    // The sound may be the user's own, in the folder the program writes, or the one installed
    // beside the program.
    const QString name = QStringLiteral("about.wav");
    QString file = platform::findExisting(platform::joinPath(platform::programFolder(), name));
    if (file.isEmpty())
        file = platform::findExisting(platform::joinPath(QCoreApplication::applicationDirPath(), name));
    if (file.isEmpty())
        return;
    WAVPlayer->SetFileName(file);
    WAVPlayer->Play();
}

void TAboutBox::BitBtn1Click()
{
    WAVPlayer->Stop();
    close();
}

void TAboutBox::FormClose()
{
    WAVPlayer->Stop();
}
