#pragma once

#include "MultiLang/MLang.h"
#include "TestSupport.h"
#include "platform/window/Dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// A window with one control of each kind the translation component handles, named as in
// tests/data/MultiLang/Example.txt.
class TestWindow : public QWidget {
public:
    explicit TestWindow(bool loaded = true)
    {
        setObjectName(QStringLiteral("TTestWindow"));
        Label1 = named(new QLabel(QStringLiteral("design label"), this), "Label1");
        Label2 = named(new QLabel(QStringLiteral("design label 2"), this), "Label2");
        Label3 = named(new QLabel(this), "Label3");
        Button1 = named(new QPushButton(QStringLiteral("design button"), this), "Button1");
        Button1->setToolTip(QStringLiteral("design hint"));
        ListBox1 = named(new QListWidget(this), "ListBox1");
        ListBox1->addItems({"a", "b", "c", "d", "e"});
        ComboBox1 = named(new QComboBox(this), "ComboBox1");
        ComboBox1->addItems({"r", "g", "b"});
        ComboBox1->setCurrentIndex(2);
        RadioGroup1 = named(new QGroupBox(this), "RadioGroup1");
        auto* layout = new QVBoxLayout(RadioGroup1);
        Portrait = new QRadioButton(RadioGroup1);
        Landscape = new QRadioButton(RadioGroup1);
        layout->addWidget(Portrait);
        layout->addWidget(Landscape);
        Onglets = named(new QTabWidget(this), "Onglets");
        Onglets->addTab(new QWidget, QStringLiteral("t1"));
        Onglets->addTab(new QWidget, QStringLiteral("t2"));
        Onglets->addTab(new QWidget, QStringLiteral("t3"));
        Grille = named(new QTableWidget(3, 2, this), "Grille");
        Fichier1 = named(new QMenu(this), "Fichier1");
        Quitter1 = named(new QAction(this), "Quitter1");
        Fichier1->addAction(Quitter1);
        OpenDialog1 = named(new platform::TOpenDialog(this), "OpenDialog1");
        Edit1 = named(new QLineEdit(this), "Edit1");
        Timer1 = named(new QObject(this), "Timer1");
        SpinEdit1 = named(new QSpinBox(this), "SpinEdit1");
        MultiLang1 = new TMultiLang(this, testsupport::dataPath(QStringLiteral("MultiLang/Example.txt")));
        if (loaded)
            MultiLang1->Loaded();
    }

    template <typename T>
    static T* named(T* object, const char* name)
    {
        object->setObjectName(QLatin1String(name));
        return object;
    }

    QStringList listItems() const
    {
        QStringList items;
        for (int i = 0; i < ListBox1->count(); ++i)
            items << ListBox1->item(i)->text();
        return items;
    }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Button1;
    QListWidget* ListBox1;
    QComboBox* ComboBox1;
    QGroupBox* RadioGroup1;
    QRadioButton* Portrait;
    QRadioButton* Landscape;
    QTabWidget* Onglets;
    QTableWidget* Grille;
    QMenu* Fichier1;
    QAction* Quitter1;
    platform::TOpenDialog* OpenDialog1;
    QLineEdit* Edit1;
    QObject* Timer1;
    QSpinBox* SpinEdit1;
    TMultiLang* MultiLang1;
};

// Records every message box and answers it with the given button.
struct BoxRecorder {
    struct Box {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    explicit BoxRecorder(QMessageBox::StandardButton answer = QMessageBox::NoButton)
    {
        platform::dialogHooks().messageBox = [this, answer](QMessageBox& box) {
            boxes.push_back({box.text(), box.icon(), box.standardButtons()});
            if (QAbstractButton* b = box.button(answer))
                b->click();
        };
    }
    platform::DialogHooksGuard guard;
    std::vector<Box> boxes;
};
