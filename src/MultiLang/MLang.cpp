#include "MLang.h"

#include "platform/window/Dialogs.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>

namespace {

bool hasWritableProperty(const QObject* object, const char* name)
{
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    return index >= 0 && meta->property(index).isWritable();
}

// Items 0, 1, 2... take the texts; items past the last text become empty, texts past the last
// item become new items where the control can hold more.
template <typename Count, typename Set, typename Add>
void setItems(const QStringList& texts, Count count, Set set, Add add)
{
    const int existing = count();
    for (int i = 0; i < texts.size(); ++i) {
        if (i < existing)
            set(i, texts[i]);
        else
            add(texts[i]);
    }
    for (int i = static_cast<int>(texts.size()); i < existing; ++i)
        set(i, QString());
}

QStringList linesOf(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void setHeaderTexts(QAbstractItemModel* model, Qt::Orientation orientation, const QStringList& texts)
{
    if (model == nullptr)
        return;
    const int count = orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
    for (int i = 0; i < texts.size() && i < count; ++i)
        model->setHeaderData(i, orientation, texts[i]);
}

} // namespace

TMultiLang::TMultiLang(QWidget* owner, const QString& table) : TBaseMultiLang(owner)
{
    setObjectName(QStringLiteral("MultiLang1"));
    if (!table.isEmpty())
        LoadTable(table);
}

void TMultiLang::ApplyTexts(QObject* component, int& row)
{
    const int keyRow = row;
    if (SwitchPositions() != spNone)
        ApplyPosition(component, component->objectName().toLower());
    ApplyComponentTexts(component, row);
    if (!hasWritableProperty(component, "toolTip"))
        return;
    if (row == keyRow)
        row += RowLength();
    QString hint;
    if (IsHintRow(row) && TakeText(row, hint) && !hint.isEmpty())
        component->setProperty("toolTip", hint);
}

void TMultiLang::ApplyComponentTexts(QObject* component, int& row)
{
    if (auto* combo = qobject_cast<QComboBox*>(component)) {
        const QStringList texts = TakeTexts(row);
        if (texts.isEmpty())
            return;
        const QSignalBlocker blocker(combo);
        const int index = combo->currentIndex();
        setItems(texts, [&] { return combo->count(); },
                 [&](int i, const QString& t) { combo->setItemText(i, t); },
                 [&](const QString& t) { combo->addItem(t); });
        combo->setCurrentIndex(index);
        return;
    }
    if (auto* list = qobject_cast<QListWidget*>(component)) {
        const QStringList texts = TakeTexts(row);
        if (texts.isEmpty())
            return;
        setItems(texts, [&] { return list->count(); },
                 [&](int i, const QString& t) { list->item(i)->setText(t); },
                 [&](const QString& t) { list->addItem(t); });
        return;
    }
    if (qobject_cast<QPlainTextEdit*>(component) != nullptr || qobject_cast<QTextEdit*>(component) != nullptr) {
        const QStringList texts = TakeTexts(row);
        if (texts.isEmpty())
            return;
        auto* plain = qobject_cast<QPlainTextEdit*>(component);
        auto* rich = qobject_cast<QTextEdit*>(component);
        QStringList lines = linesOf(plain != nullptr ? plain->toPlainText() : rich->toPlainText());
        setItems(texts, [&] { return static_cast<int>(lines.size()); },
                 [&](int i, const QString& t) { lines[i] = t; }, [&](const QString& t) { lines << t; });
        if (plain != nullptr)
            plain->setPlainText(lines.join(QLatin1Char('\n')));
        else
            rich->setPlainText(lines.join(QLatin1Char('\n')));
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(component)) {
        const QStringList texts = TakeTexts(row);
        if (texts.isEmpty())
            return;
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabText(i, texts.value(i));
        return;
    }
    if (auto* bar = qobject_cast<QTabBar*>(component)) {
        const QStringList texts = TakeTexts(row);
        if (texts.isEmpty())
            return;
        for (int i = 0; i < bar->count(); ++i)
            bar->setTabText(i, texts.value(i));
        return;
    }
    if (auto* header = qobject_cast<QHeaderView*>(component)) {
        setHeaderTexts(header->model(), header->orientation(), TakeTexts(row));
        return;
    }
    if (auto* table = qobject_cast<QTableWidget*>(component)) {
        // Its model only renames header items that exist.
        const QStringList texts = TakeTexts(row);
        for (int i = 0; i < texts.size() && i < table->columnCount(); ++i) {
            if (table->horizontalHeaderItem(i) == nullptr)
                table->setHorizontalHeaderItem(i, new QTableWidgetItem);
            table->horizontalHeaderItem(i)->setText(texts[i]);
        }
        return;
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(component)) {
        // Grids and trees: the column titles, as long as continuation rows last.
        setHeaderTexts(view->model(), Qt::Horizontal, TakeTexts(row));
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(component)) {
        // A group of radio buttons is a radio group: its title, then one text per button.
        const QStringList texts = TakeTexts(row);
        if (texts.isEmpty())
            return;
        group->setTitle(texts[0]);
        const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
        for (int i = 1; i < texts.size() && i - 1 < buttons.size(); ++i)
            buttons[i - 1]->setText(texts[i]);
        return;
    }
    if (auto* dialog = qobject_cast<platform::TOpenDialog*>(component)) {
        QString text;
        if (!TakeText(row, text))
            return;
        dialog->Title = text;
        if (IsContinuationRow(row) && TakeText(row, text))
            dialog->Filter = text;
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(component)) {
        QString text;
        if (TakeText(row, text))
            menu->setTitle(text);
        return;
    }
    if (auto* action = qobject_cast<QAction*>(component)) {
        QString text;
        if (TakeText(row, text))
            action->setText(text);
        return;
    }
    // Any other control: a Caption and then a Text where it publishes them under those names,
    // else the Qt text (labels, buttons, line edits) or title, else a window's caption.
    QString text;
    const bool caption = hasWritableProperty(component, "Caption");
    const bool plainText = hasWritableProperty(component, "Text");
    if (caption || plainText) {
        if (caption && TakeText(row, text))
            component->setProperty("Caption", text);
        // After a caption the text is a further text of the control, never the next control's.
        if (plainText && (!caption || IsContinuationRow(row)) && TakeText(row, text))
            component->setProperty("Text", text);
        return;
    }
    const char* property = hasWritableProperty(component, "text")    ? "text"
                         : hasWritableProperty(component, "title")   ? "title"
                         : nullptr;
    auto* widget = qobject_cast<QWidget*>(component);
    if (property == nullptr && widget != nullptr && widget->isWindow())
        property = "windowTitle";
    if (property != nullptr && TakeText(row, text))
        component->setProperty(property, text);
}
