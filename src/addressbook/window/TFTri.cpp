#include "TFTri.h"
#include "ui_TFTri.h"

#include "MultiLang/MLang.h"
#include "addressbook/AddressBook.h"

#include <algorithm>

namespace addressbook {

TFTri::TFTri(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFTri>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFTri.txt"));
    MultiLang1->Loaded();
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TFTri::~TFTri() = default;

void TFTri::Preselect(int column)
{
    const auto* it = std::find(SortColumns.begin(), SortColumns.end(), column);
    ui->ComboBox->setCurrentIndex(it == SortColumns.end() ? -1 : static_cast<int>(it - SortColumns.begin()));
}

int TFTri::SortColumn() const
{
    const int item = ui->ComboBox->currentIndex();
    return item >= 0 && item < static_cast<int>(SortColumns.size()) ? SortColumns[static_cast<size_t>(item)] : -1;
}

} // namespace addressbook
