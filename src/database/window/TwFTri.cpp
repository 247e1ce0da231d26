#include "TwFTri.h"
#include "ui_TwFTri.h"

#include "MultiLang/MLang.h"

#include <QPushButton>

namespace database {

TwFTri::TwFTri(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TwFTri>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TwFTri.txt"));
    MultiLang1->Loaded();
    connect(ui->Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TwFTri::~TwFTri() = default;

} // namespace database
