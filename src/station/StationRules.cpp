#include "StationRules.h"

#include "platform/Rounding.h"

#include <QFileInfo>

#include <algorithm>

namespace station {

using platform::R;

bool FormatsAgree(const design::TCurrentFormat& a, const design::TCurrentFormat& b)
{
    return a.LargeurEtiquette == b.LargeurEtiquette && a.HauteurEtiquette == b.HauteurEtiquette
           && a.NbColonnes == b.NbColonnes && a.NbLignes == b.NbLignes
           && a.EcartHorizontal == b.EcartHorizontal && a.EcartVertical == b.EcartVertical
           && a.MargeGauche == b.MargeGauche && a.MargeHaut == b.MargeHaut
           && a.EtiquetteRonde == b.EtiquetteRonde;
}

QString IncompatibleQuestionKey(int filledCells)
{
    return filledCells == 1 ? QStringLiteral("@9") : QStringLiteral("@10");
}

TThumbnail ThumbnailGeometry(int a, int b, int panelWidth, int panelHeight)
{
    TThumbnail t;
    if (a <= 0 || b <= 0 || panelWidth <= 0 || panelHeight <= 0)
        return t;
    if (a > panelWidth || b > panelHeight) {
        if (a > b) {
            t.Width = R(panelWidth * 4 / 5.0);
            t.Height = R(static_cast<double>(b) * t.Width / a);
        } else {
            t.Height = R(panelHeight * 4 / 5.0);
            t.Width = R(static_cast<double>(a) * t.Height / b);
        }
    } else {
        t.Width = a;
        t.Height = b;
    }
    // A very long, thin label would round to nothing across.
    if (t.Width <= 0 || t.Height <= 0)
        return TThumbnail{};
    t.Visible = true;
    t.Left = (panelWidth - t.Width) / 2;
    t.Top = (panelHeight - t.Height) / 2;
    t.Scale = static_cast<double>(t.Width) / a;
    return t;
}

QSize KeepFourThirds(QSize previous, QSize wanted)
{
    const int dw = std::abs(wanted.width() - previous.width());
    const int dh = std::abs(wanted.height() - previous.height());
    if (dw < dh) {
        const int h = std::max(wanted.height(), 480);
        return {R(h * 640 / 480.0), h};
    }
    const int w = std::max(wanted.width(), 640);
    return {w, R(w * 480 / 640.0)};
}

int ThumbnailPanelSide(int clientHeight)
{
    return std::max(0, R(clientHeight * 161 / 480.0));
}

int TabStopPercent(int listWidth)
{
    return listWidth > 0 ? R(17100.0 / listWidth) : 50;
}

double PageScale(int frameWidth)
{
    return frameWidth > 8 ? (frameWidth - 8) / static_cast<double>(TailleMaxPlanche) : 0.0;
}

QString DatabaseName(const QString& databaseFile, const THintTexts& texts)
{
    if (databaseFile.isEmpty())
        return texts.SansNom;
    return QFileInfo(databaseFile).completeBaseName().toUpper();
}

QString AddressBookHint(const QString& firstName, const QString& surname, const THintTexts& texts)
{
    if (firstName.isEmpty() && surname.isEmpty())
        return texts.Repert;
    return texts.RepFichAct + firstName + u' ' + surname + u')';
}

QString DatabaseHint(const QString& databaseName, const QString& firstField, const THintTexts& texts)
{
    QString hint = texts.BasDonn + databaseName;
    if (!firstField.isEmpty())
        hint += texts.FichAct + firstField + u')';
    return hint;
}

QString SwitchHint(bool databaseIsSource, const QString& databaseName, const THintTexts& texts)
{
    return databaseIsSource ? texts.DatabaseInUse + databaseName + texts.InUseForMerging
                            : texts.AddressBookInUse;
}

QString HelpPage(int language)
{
    static const char letters[] = "FEGSPHI";
    const int n = std::clamp(language, 0, 6);
    return QStringLiteral("help/Quorel") + QLatin1Char(letters[n]) + QStringLiteral(".html");
}

TWizardChoices ChoixAssistant(int checked, bool pagePrintable, bool mailingAvailable, bool designSelected,
                              bool databaseAvailable)
{
    TWizardChoices w;
    w.Enabled[1] = pagePrintable;
    w.Enabled[2] = mailingAvailable;
    w.Enabled[3] = mailingAvailable && designSelected;
    w.Enabled[4] = w.Enabled[3] && databaseAvailable;
    w.Checked = checked >= 1 && checked <= 4 ? checked : 1;
    if (w.Checked == 1 && !w.Enabled[1])
        w.Checked = 2;
    if ((w.Checked == 3 || w.Checked == 4) && !w.Enabled[w.Checked])
        w.Checked = w.Enabled[1] ? 1 : 2;
    return w;
}

} // namespace station
