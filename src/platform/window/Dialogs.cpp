#include "Dialogs.h"

#include "Application.h"

#include <QAbstractButton>
#include "platform/Rounding.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLayout>
#include <QPixmap>
#include <QPushButton>
#include <cstdlib>
#include <utility>
#include <QInputDialog>

namespace platform {

DialogHooks& dialogHooks()
{
    static DialogHooks hooks;
    return hooks;
}

QMessageBox::Icon iconOf(int dialogType)
{
    switch (dialogType) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons standardButtonsOf(TMsgDlgButtons buttons)
{
    QMessageBox::StandardButtons result;
    if (buttons & mbYes)
        result |= QMessageBox::Yes;
    if (buttons & mbNo)
        result |= QMessageBox::No;
    if (buttons & mbOK)
        result |= QMessageBox::Ok;
    if (buttons & mbCancel)
        result |= QMessageBox::Cancel;
    if (buttons & mbAbort)
        result |= QMessageBox::Abort;
    if (buttons & mbRetry)
        result |= QMessageBox::Retry;
    if (buttons & mbIgnore)
        result |= QMessageBox::Ignore;
    if (buttons & mbHelp)
        result |= QMessageBox::Help;
    if (result == QMessageBox::NoButton)
        result = QMessageBox::Ok;
    return result;
}

int modalResultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return mrOk;
    case QMessageBox::Cancel:
        return mrCancel;
    case QMessageBox::Abort:
        return mrAbort;
    case QMessageBox::Retry:
        return mrRetry;
    case QMessageBox::Ignore:
        return mrIgnore;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrNone;
    }
}

int execMessageBox(QMessageBox& box)
{
    if (dialogHooks().messageBox)
        dialogHooks().messageBox(box);
    else
        box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked != nullptr ? modalResultOf(box.standardButton(clicked)) : mrNone;
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Application::Title());
    box.setIcon(iconOf(type));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(standardButtonsOf(buttons));
    return execMessageBox(box);
}

bool InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    const bool accepted = dialogHooks().inputDialog ? dialogHooks().inputDialog(dialog)
                                                    : dialog.exec() == QDialog::Accepted;
    if (accepted)
        value = dialog.textValue();
    return accepted;
}

QStringList nameFiltersOf(const QString& filter)
{
    QStringList result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i];
        const QString mask = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        if (description.isEmpty() && mask.isEmpty())
            continue;
        QStringList patterns;
        for (const QString& p : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(variant))
                    patterns << variant;
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        // The dialog hides the parenthesised patterns (HideNameFilterDetails), so the user sees
        // the description exactly as written.
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

bool TOpenDialog::Execute()
{
    QFileDialog dialog(QApplication::activeWindow(), Title);
    dialog.setAcceptMode(IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!IsSave() && (Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (IsSave() && !(Options & ofOverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFiltersOf(Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(FilterIndex - 1, filters.first()));
    }
    if (!DefaultExt.isEmpty())
        dialog.setDefaultSuffix(DefaultExt);
    if (!InitialDir.isEmpty())
        dialog.setDirectory(InitialDir);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);

    bool accepted;
    if (dialogHooks().fileDialog) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        accepted = dialogHooks().fileDialog(dialog);
    } else {
        accepted = dialog.exec() == QDialog::Accepted;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (!accepted || chosen.isEmpty())
        return false;
    FileName = chosen.first();
    // With the details hidden, the dialog may answer the filter as it displays it.
    const QString selected = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString& f = filters[i];
        if (selected == f || selected == f.left(f.lastIndexOf(QStringLiteral(" ("))).trimmed()) {
            FilterIndex = static_cast<int>(i) + 1;
            break;
        }
    }
    return true;
}

namespace {

// The family that draws `name`: the dialog lists installed families only, so a name served by a
// substitute (Arial by Liberation Sans) would show as some other family, without its styles.
QString drawnFamily(const QString& name)
{
    const QString family = QFontInfo(QFont(name)).family();
    return family.isEmpty() ? name : family;
}

} // namespace

QFont toDialogFont(const TFont& font)
{
    QFont result(drawnFamily(font.Name()));
    const int points = std::abs(font.Size());
    result.setPointSize(points > 0 ? points : 10);
    result.setBold(font.Style().Contains(fsBold));
    result.setItalic(font.Style().Contains(fsItalic));
    result.setUnderline(font.Style().Contains(fsUnderline));
    result.setStrikeOut(font.Style().Contains(fsStrikeOut));
    // The dialog selects a style by its name, and a family whose upright style is not called
    // "Normal" ("Book", "Regular") would open on some other one, "Oblique" say: name the style
    // of the family drawn that has the font's slant and the weight nearest to its own, the
    // plainest name among equals ("Book" before "Condensed").
    const QString family = QFontInfo(result).family();
    const int weight = result.bold() ? QFont::Bold : QFont::Normal;
    std::pair<int, qsizetype> best{-1, 0};
    for (const QString& style : QFontDatabase::styles(family)) {
        const bool slanted = QFontDatabase::font(family, style, 10).style() != QFont::StyleNormal;
        if (slanted != result.italic())
            continue;
        const std::pair<int, qsizetype> score{std::abs(QFontDatabase::weight(family, style) - weight), style.size()};
        if (best.first < 0 || score < best) {
            best = score;
            result.setStyleName(style);
        }
    }
    return result;
}

TFont fromDialogFont(const QFont& chosen, const TFont& font)
{
    TFont result = font;
    // The family left as shown keeps the design's own name for it.
    if (chosen.family() != drawnFamily(font.Name()))
        result.SetName(chosen.family());
    if (chosen.pointSizeF() > 0)
        result.SetSize(R(chosen.pointSizeF()));
    TFontStyles style;
    if (chosen.bold())
        style = style + fsBold;
    if (chosen.italic())
        style = style + fsItalic;
    if (chosen.underline())
        style = style + fsUnderline;
    if (chosen.strikeOut())
        style = style + fsStrikeOut;
    result.SetStyle(style);
    return result;
}

namespace {

QIcon colorSwatch(TColor color)
{
    QPixmap swatch(16, 16);
    swatch.fill(ToQColor(color));
    return QIcon(swatch);
}

// Qt's font dialog has no colour among its effects: a button in the effects box (the group
// holding the underline and strike-out boxes) shows the colour and changes it. Without that box
// (another dialog layout) the button closes the dialog's own layout.
void addColorEffect(QFontDialog& dialog, const QString& caption, TColor& color)
{
    auto* button = new QPushButton(colorSwatch(color), caption, &dialog);
    button->setObjectName(QStringLiteral("FontColor"));
    // Focus stays on the button after the colour is chosen: Enter then accepts the dialog.
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [button, &color] {
        TColorDialog chooser;
        chooser.Color = color;
        if (!chooser.Execute())
            return;
        color = chooser.Color;
        button->setIcon(colorSwatch(color));
    });
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
        if (box->findChild<QCheckBox*>() != nullptr && box->layout() != nullptr) {
            button->setParent(box);
            box->layout()->addWidget(button);
            return;
        }
    }
    if (dialog.layout() != nullptr)
        dialog.layout()->addWidget(button);
}

} // namespace

bool TFontDialog::Execute()
{
    QFontDialog dialog(toDialogFont(Font), QApplication::activeWindow());
    // The effects box is extended: the dialog must be Qt's own, not the desktop's.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    TColor color = Font.Color();
    addColorEffect(dialog, ColorCaption, color);
    const bool accepted = dialogHooks().fontDialog ? dialogHooks().fontDialog(dialog)
                                                   : dialog.exec() == QDialog::Accepted;
    if (accepted) {
        Font = fromDialogFont(dialog.currentFont(), Font);
        Font.SetColor(color);
    }
    return accepted;
}

bool TColorDialog::Execute()
{
    QColorDialog dialog(ToQColor(Color), QApplication::activeWindow());
    const bool accepted = dialogHooks().colorDialog ? dialogHooks().colorDialog(dialog)
                                                    : dialog.exec() == QDialog::Accepted;
    if (accepted)
        Color = FromQColor(dialog.currentColor());
    return accepted;
}

} // namespace platform
