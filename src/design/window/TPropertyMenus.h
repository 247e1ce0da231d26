#pragma once

#include "design/PropertyCommands.h"

#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class TMultiLang;

namespace Ui {
class TPropertyMenus;
}

// The right-click property menus of the design objects: one menu per kind of object (pictures,
// simple texts, tilted texts, shapes, lines, text blocks), their check marks preset from the
// object clicked, each item running one property command. Circular texts and barcodes open their
// dialog instead of a menu. The design window keeps one, never shown itself, and hands it the
// clicked object and the pointer's screen position.
class TPropertyMenus : public QWidget {
    Q_OBJECT
public:
    explicit TPropertyMenus(QWidget* parent = nullptr);
    ~TPropertyMenus() override;

    // The menus and their items, by their names (resources/ui/TPropertyMenus.ui).
    const std::unique_ptr<Ui::TPropertyMenus> ui;
    TMultiLang* MultiLang1 = nullptr;

    // The commands the items run (the window's, over its model and selection frame).
    design::TPropertyCommands* Commands = nullptr;
    // Runs after every right click and every command: the window takes the current object's
    // bounds and refreshes its alignment palette.
    std::function<void()> AfterCommand;

    // The right click on `clicked`: decides the target, presets the marks and answers the menu
    // to open, or nullptr when none opens (a mixed selection; a dialog ran instead).
    QMenu* Prepare(design::TDesignObject* clicked);
    // Prepare, then the menu at the screen position, until an item is chosen or it closes.
    void ObjectMouseDown(design::TDesignObject* clicked, QPoint globalPos);

    // The marks of the target's menu, from the target.
    void SetMarks(const design::TDesignObject& target);
    // Opening events: bring-to-front only where there is something to come in front of.
    void PopupImagePopup();
    void PopupShapePopup();

    // The dialogs as the program shows them: the colour and font dialogs, the text entry, the
    // angle dialog. The circular-text, barcode and rotation dialogs are the window's to give.
    design::TPropertyDialogs StandardDialogs();

private:
    void connectEvents();
    void connectCommand(QAction* action, std::function<bool()> command);
    QActionGroup* group(std::initializer_list<QAction*> actions);
    void afterCommand();

    QMenu* m_open = nullptr;
};
