#include "TAsso.h"
#include "ui_TAsso.h"

#include "MultiLang/MLang.h"
#include "platform/window/Dialogs.h"

#include <QMouseEvent>

namespace addressbook {

TAsso::TAsso(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAsso>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TAsso.txt"));
    MultiLang1->Loaded();
    ui->ListBox2->setToolTip(MultiLang1->GetText(QStringLiteral("@11")));
    ui->ListBox2->viewport()->installEventFilter(this);
    connect(ui->ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(ui->ListBox1, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });
    connect(ui->ListBox2, &QListWidget::itemClicked, this, [this] { ListBox2Click(); });
    connect(ui->BeginBtn, &QPushButton::clicked, this, [this] { RemplirChampsImport(0); });
    connect(ui->RewBtn, &QPushButton::clicked, this, [this] { RemplirChampsImport(m_record - 1); });
    connect(ui->FFBtn, &QPushButton::clicked, this, [this] { RemplirChampsImport(m_record + 1); });
    connect(ui->EndBtn, &QPushButton::clicked, this,
            [this] { RemplirChampsImport(m_records != nullptr ? static_cast<int>(m_records->size()) - 1 : 0); });
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TAsso::~TAsso() = default;

void TAsso::Charger(const QStringList& titles, const QList<QStringList>* records)
{
    m_records = records;
    ui->ListBox1->clear();
    ui->ListBox1->addItems(titles);
    Links = QList<int>(titles.size(), -1);
    RemplirChampsImport(0);
}

void TAsso::RemplirChampsImport(int record)
{
    const int count = m_records != nullptr ? static_cast<int>(m_records->size()) : 0;
    m_record = std::clamp(record, 0, std::max(0, count - 1));
    const int selected = ui->ListBox2->currentRow();
    ui->ListBox2->clear();
    if (m_record < count) {
        // Every record lists the file's fields (the first record's count); a record's line may
        // stop short of them.
        const QStringList& fields = (*m_records)[m_record];
        const qsizetype count = m_records->front().size();
        for (qsizetype k = 0; k < count; ++k) {
            const QString field = fields.value(k);
            ui->ListBox2->addItem(field.isEmpty() ? MultiLang1->GetText(QStringLiteral("@10")) + QString::number(k + 1)
                                                  : field);
        }
    }
    if (selected >= 0 && selected < ui->ListBox2->count())
        ui->ListBox2->setCurrentRow(selected);
    ui->BeginBtn->setEnabled(m_record > 0);
    ui->RewBtn->setEnabled(m_record > 0);
    ui->FFBtn->setEnabled(m_record < count - 1);
    ui->EndBtn->setEnabled(m_record < count - 1);
}

void TAsso::ListBox1Click()
{
    const int field = ui->ListBox1->currentRow();
    if (field < 0 || field >= Links.size())
        return;
    const int linked = Links[field];
    if (linked >= 0 && linked < ui->ListBox2->count()) {
        ui->ListBox2->setCurrentRow(linked);
    } else {
        ui->ListBox2->setCurrentRow(-1);
        ui->ListBox2->clearSelection();
    }
}

void TAsso::ListBox2Click()
{
    // The list's current line without a selection is no field chosen by the user.
    const QListWidgetItem* chosen = ui->ListBox1->currentItem();
    const int field = chosen != nullptr && chosen->isSelected() ? ui->ListBox1->currentRow() : -1;
    const int linked = ui->ListBox2->currentRow();
    if (field >= 0 && field < Links.size() && linked >= 0)
        Links[field] = linked;
}

void TAsso::ListBox2RightClick()
{
    ui->ListBox2->setCurrentRow(-1);
    ui->ListBox2->clearSelection();
    const int field = ui->ListBox1->currentRow();
    if (field >= 0 && field < Links.size())
        Links[field] = -1;
}

void TAsso::OKBtnClick()
{
    if (std::all_of(Links.begin(), Links.end(), [](int l) { return l < 0; })) {
        platform::MessageDlg(MultiLang1->GetText(QStringLiteral("@1")), platform::mtWarning, platform::mbOK);
        return;
    }
    accept();
}

bool TAsso::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ListBox2->viewport() && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        ListBox2RightClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace addressbook
