#pragma once

#include "MLBase.h"

// The translation component of the program's windows: the apply step for the Qt controls they
// use. List-like controls take items, captioned controls one text, file dialogs a title and a
// filter, and every control with a tool tip may take a hint row.
class TMultiLang : public TBaseMultiLang {
    Q_OBJECT
public:
    // Named "MultiLang1"; `table` (a resource such as ":/lang/TFormat.txt") is read at once.
    explicit TMultiLang(QWidget* owner, const QString& table = {});

    void ApplyTexts(QObject* component, int& row) override;

private:
    void ApplyComponentTexts(QObject* component, int& row);
};
