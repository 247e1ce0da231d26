#include "station/window/TAssistant.h"
#include "ui_TAssistant.h"

#include "MultiLang/MLBase.h"
#include "LanguageGuard.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

// The wizard's choices show whole in every language, a longer one included: each choice as wide
// as its text, each explanation as tall as its wrapped lines, nothing outside the window or over
// another control.
TEST(WizardWindow, EveryChoiceShowsWhole)
{
    testsupport::LanguageGuard restoreLanguage;
    struct Case {
        const char* name;
        int language;
        QString longer; // set on every choice, as a wordier language would
    };
    const Case cases[] = {
        {"French", 0, {}},
        {"English", 1, {}},
        {"a wordier language", 1,
         "Print a set of rather more elaborate address labels using every piece of data held in the address-book"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetGlobalLanguage(c.language);
        station::TAssistant w;
        const auto& ui = *w.ui;
        const QList<QRadioButton*> choices{ui.RadioButton1, ui.RadioButton2, ui.RadioButton3, ui.RadioButton4};
        if (!c.longer.isEmpty())
            for (QRadioButton* b : choices)
                b->setText(c.longer);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QList<QWidget*> controls{ui.Label1,       ui.RadioButton1, ui.RadioButton2, ui.Label2, ui.RadioButton3,
                                       ui.Label3,       ui.RadioButton4, ui.Label4,       ui.OKBtn,  ui.CancelBtn};
        for (QRadioButton* b : choices)
            EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        for (QLabel* l : {ui.Label2, ui.Label3, ui.Label4})
            EXPECT_GE(l->height(), l->heightForWidth(l->width())) << l->text().toStdString();
        for (qsizetype i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(w.rect().contains(controls[i]->geometry())) << controls[i]->objectName().toStdString();
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << controls[i]->objectName().toStdString() << " over " << controls[j]->objectName().toStdString();
        }
    }
}
