#include "TSaveD.h"
#include "ui_TSaveD.h"

#include "MultiLang/MLang.h"
#include "design/DesignNameCheck.h"
#include "platform/Paths.h"
#include "platform/window/Dialogs.h"
#include "shell/BoiteMessage.h"

#include <QDir>
#include <QFile>

TSaveD::TSaveD(const QString& designsFolder, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TSaveD>()), m_folder(designsFolder)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TSaveD.txt"));
    MultiLang1->Loaded();
    connectEvents();
    Edit1Change();
}

TSaveD::~TSaveD() = default;

void TSaveD::connectEvents()
{
    connect(ui->Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] {
        OKPresse = true;
        accept();
    });
    connect(ui->CancelBtn, &QPushButton::clicked, this, [this] {
        OKPresse = false;
        reject();
    });
}

void TSaveD::Edit1Change()
{
    ui->OKBtn->setEnabled(!ui->Edit1->text().isEmpty());
}

void TSaveD::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    OKPresse = false;
    Edit1Change();
    ui->Edit1->setFocus();
}

QString TSaveD::Path() const
{
    const QString path = QDir(m_folder).filePath(ui->Edit1->text() + QStringLiteral(".car"));
    const QString existing = platform::findExisting(path);
    return existing.isEmpty() ? path : existing;
}

bool TSaveD::FormCloseQuery(bool ok)
{
    NomAccepte = true;
    if (!ok)
        return true;
    const auto refuse = [this] {
        platform::MessageDlg(MultiLang1->GetText(QStringLiteral("@1")), platform::mtWarning, platform::mbOK);
        OKPresse = false;
        NomAccepte = false;
        ui->Edit1->setFocus();
        return false;
    };
    if (!design::AcceptableDesignName(ui->Edit1->text()))
        return refuse();
    const QString path = Path();
    if (QFileInfo::exists(path)) {
        if (BoiteMessage(MultiLang1->GetText(QStringLiteral("@2")), platform::mtWarning,
                         platform::mbYes | platform::mbNo)
            == platform::mrYes)
            return true;
        NomAccepte = false;
        ui->Edit1->setFocus();
        return false;
    }
    // What the name allows, the folder may still refuse (a name too long for it, a folder that
    // cannot be written): try the file, then take it away again.
    QFile probe(path);
    const bool created = probe.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    probe.close();
    if (created)
        QFile::remove(path);
    return created ? true : refuse();
}

void TSaveD::done(int result)
{
    if (!FormCloseQuery(result == QDialog::Accepted))
        return;
    QDialog::done(result);
}
