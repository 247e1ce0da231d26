#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <memory>

class TMultiLang;

namespace Ui {
class TAsso;
}

namespace addressbook {

// The fields association of an import: which field of the file each field of the book takes.
// The file's records can be paged through to recognise the fields.
class TAsso : public QDialog {
    Q_OBJECT
public:
    explicit TAsso(QWidget* parent = nullptr);
    ~TAsso() override;
    const std::unique_ptr<Ui::TAsso> ui;
    TMultiLang* MultiLang1 = nullptr;

    // For each field of the book, the 0-based field of the file, -1 for none.
    QList<int> Links;

    // The book's titles and the file's records (kept by the caller for the dialog's life).
    void Charger(const QStringList& titles, const QList<QStringList>* records);
    void RemplirChampsImport(int record);
    int Record() const { return m_record; }

    void ListBox1Click();
    void ListBox2Click();
    // The right button deselects the file's field, and the link it stood for goes with it.
    void ListBox2RightClick();
    void OKBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QList<QStringList>* m_records = nullptr;
    int m_record = 0;
};

} // namespace addressbook
