#include "TOpenDial.h"
#include "ui_TOpenDial.h"

#include "MultiLang/MLang.h"
#include "design/PreviewGeometry.h"
#include "imaging/PictureFile.h"
#include "imaging/window/TPMultiImage.h"
#include "platform/HourGlass.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace {

const QString allMasks = QStringLiteral("*.wmf;*.bmp;*.ico;*.pcx;*.tif;*.gif;*.jpg;*.png;*.pcd;*.tga;*.eps;*.dxf");

struct Filter {
    const char* description;
    const char* mask;
};
constexpr Filter formatFilters[] = {
    {"Bitmaps (*.bmp)", "*.bmp"}, {"Metafiles (*.wmf)", "*.wmf"}, {"Icons (*.ico)", "*.ico"},
    {"Pcx (*.pcx)", "*.pcx"},     {"Tiff (*.tif)", "*.tif"},      {"Gif (*.gif)", "*.gif"},
    {"Jpeg (*.jpg)", "*.jpg"},    {"Png (*.png)", "*.png"},       {"Pcd (*.pcd)", "*.pcd"},
    {"Tga (*.tga)", "*.tga"},     {"Eps (*.eps)", "*.eps"},       {"Dxf (*.dxf)", "*.dxf"},
};

bool isMask(const QString& text)
{
    return text.contains(u'*') || text.contains(u'?');
}

} // namespace

TOpenDial::TOpenDial(const QString& startFolder, bool preview, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TOpenDial>())
{
    ui->setupUi(this);
    ui->Image->SetStretch(true);
    ui->Image->ImageDither = true;
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TOpenDial.txt"));
    MultiLang1->Loaded();
    fillFilters();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            ui->DriveComboBox->addItem(volume.rootPath());
    ui->Edit->setText(allMasks);
    m_masks = allMasks.split(u';');
    ui->apercu->setChecked(preview);
    ui->Image->setVisible(preview);
    ui->Image1->hide();
    ui->Edit->installEventFilter(this);
    SetFolder(QFileInfo(startFolder).isDir() ? startFolder : QDir::homePath());
    if (ui->FileListBox->count() > 0)
        ui->FileListBox->setCurrentRow(0);
    connectEvents();
}

TOpenDial::~TOpenDial() = default;

void TOpenDial::fillFilters()
{
    ui->FilterComboBox->addItem(MultiLang1->GetText(QStringLiteral("@1")), allMasks);
    for (const Filter& f : formatFilters)
        ui->FilterComboBox->addItem(QString::fromLatin1(f.description), QString::fromLatin1(f.mask));
}

void TOpenDial::connectEvents()
{
    connect(ui->FilterComboBox, &QComboBox::activated, this, [this] {
        m_masks = ui->FilterComboBox->currentData().toString().split(u';');
        ui->Edit->setText(m_masks.join(u';'));
        readFiles();
    });
    connect(ui->FileListBox, &QListWidget::itemClicked, this, [this] { FileListBoxClick(); });
    connect(ui->FileListBox, &QListWidget::currentRowChanged, this, [this] { FileListBoxClick(); });
    connect(ui->FileListBox, &QListWidget::itemDoubleClicked, this, [this] {
        OKPresse = true;
        accept();
    });
    connect(ui->DirectoryListBox, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        SetFolder(QDir(m_folder).absoluteFilePath(item->text()));
    });
    connect(ui->DriveComboBox, &QComboBox::activated, this, [this] { SetFolder(ui->DriveComboBox->currentText()); });
    connect(ui->apercu, &QCheckBox::toggled, this, [this] { apercuClick(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] {
        OKPresse = true;
        accept();
    });
    connect(ui->CancelBtn, &QPushButton::clicked, this, [this] {
        OKPresse = false;
        reject();
    });
}

void TOpenDial::SetFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return;
    m_folder = QDir::cleanPath(info.absoluteFilePath());
    ui->Label4->setText(QDir::toNativeSeparators(m_folder));
    readFolders();
    readFiles();
}

void TOpenDial::readFolders()
{
    ui->DirectoryListBox->clear();
    QDir dir(m_folder);
    if (!dir.isRoot())
        ui->DirectoryListBox->addItem(QStringLiteral(".."));
    ui->DirectoryListBox->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void TOpenDial::readFiles()
{
    ui->FileListBox->clear();
    // Without QDir::CaseSensitive the masks match either letter case ("PHOTO.JPG").
    QDir dir(m_folder);
    ui->FileListBox->addItems(dir.entryList(m_masks, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString TOpenDial::FileName() const
{
    const QString name = ui->Edit->text();
    return name.isEmpty() ? QString() : QDir::cleanPath(QDir(m_folder).absoluteFilePath(name));
}

bool TOpenDial::Apercu() const
{
    return ui->apercu->isChecked();
}

void TOpenDial::EditKeyPress()
{
    const QString text = ui->Edit->text().trimmed();
    if (text.isEmpty())
        return;
    if (isMask(text)) {
        const qsizetype slash = text.lastIndexOf(u'/');
        if (slash >= 0)
            SetFolder(QDir(m_folder).absoluteFilePath(text.left(slash + 1)));
        m_masks = text.mid(slash + 1).split(u';', Qt::SkipEmptyParts);
        readFiles();
        return;
    }
    const QString path = QDir(m_folder).absoluteFilePath(text);
    if (QFileInfo(path).isDir()) {
        SetFolder(path);
        ui->Edit->setText(m_masks.join(u';'));
    }
}

void TOpenDial::FileListBoxClick()
{
    const QListWidgetItem* item = ui->FileListBox->currentItem();
    if (item == nullptr)
        return;
    ui->Edit->setText(item->text());
    if (Apercu())
        apercuClick();
}

void TOpenDial::apercuClick()
{
    if (!Apercu() || !QFileInfo(FileName()).isFile()) {
        hidePreview();
        return;
    }
    const QString suffix = QFileInfo(FileName()).suffix().toUpper();
    const bool graphic = suffix == QStringLiteral("WMF") || suffix == QStringLiteral("ICO");
    ui->Image1->setVisible(graphic);
    ui->Image->setVisible(!graphic);
    ShowPreview();
}

void TOpenDial::ShowPreview()
{
    const platform::HourGlass hourGlass;
    if (ui->Image1->isVisible()) {
        // Icons are shown as graphics, read by the imaging layer too.
        const imaging::PictureRead read = imaging::ImgReadPictureFile(FileName(), imaging::PictureReadOptions());
        if (read.kind != imaging::PictureKind::Bitmap && read.kind != imaging::PictureKind::Graphic)
            return;
        ui->Image1->setPixmap(QPixmap::fromImage(read.bitmap.image));
        ui->Image1->setGeometry(design::FitPictureInPanel(read.bitmap.image.size(), ui->Panel->size()));
        return;
    }
    // The image control reads the file; one it cannot read leaves it empty, never showing the
    // picture before under this file's name, and the panel keeps its place.
    ui->Image->SetImageName(FileName());
    if (!ui->Image->Empty())
        ui->Image->setGeometry(design::FitPictureInPanel(ui->Image->Picture().image.size(), ui->Panel->size()));
}

void TOpenDial::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QString selected = ui->FileListBox->currentItem() != nullptr ? ui->FileListBox->currentItem()->text() : QString();
    const QSignalBlocker blocker(ui->FileListBox);
    readFiles();
    const QList<QListWidgetItem*> same = ui->FileListBox->findItems(selected, Qt::MatchExactly);
    ui->FileListBox->setCurrentRow(same.isEmpty() ? 0 : ui->FileListBox->row(same.first()));
}

void TOpenDial::hidePreview()
{
    ui->Image->hide();
    ui->Image1->hide();
}

bool TOpenDial::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // A file's name chosen: Return accepts it, as OK does; a folder or a mask is applied
            // to the lists.
            const QString text = ui->Edit->text().trimmed();
            if (!text.isEmpty() && !isMask(text) && QFileInfo(FileName()).isFile())
                ui->OKBtn->click();
            else
                EditKeyPress();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOpenDial::done(int result)
{
    if (result == QDialog::Accepted && !QFileInfo(FileName()).isFile()) {
        OKPresse = false;
        return;
    }
    QDialog::done(result);
}
