#include "MLBase.h"

#include "TranslationTable.h"
#include "platform/window/Dialogs.h"

#include <QHash>
#include <QWidget>

namespace {

QList<TBaseMultiLang*>& registry()
{
    static QList<TBaseMultiLang*> instances;
    return instances;
}

int g_globalLanguage = 0;

const QString kTooHigh = QStringLiteral("Value must not be higher than\nnumber of available languages.");
const QString kAtLeastOne = QStringLiteral("You have to provide at least 1 language.");
const QString kDecreasing = QStringLiteral(
    "You are decreasing the number of languages.\nEntries for the removed language will be lost.\n");
const QString kDropPositions = QStringLiteral(
    "You are going to drop the positions.\nCurrently different values are stored for each "
    "language,\nDo you want to drop these values?");
const QString kDropFormPositions = QStringLiteral(
    "You are going to drop the positions for the form.\nCurrently different values are stored "
    "for each language.\nDo you want to drop these values?");

// Left, Top, Width, Height joined by '.'; null for an object without a position.
QString positionGroup(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(widget->x())
        .arg(widget->y())
        .arg(widget->width())
        .arg(widget->height());
}

// A widget that carries its own translation component is another window: its controls are not
// the owner's.
bool isOtherWindow(QObject* object)
{
    if (!object->isWidgetType())
        return false;
    for (QObject* child : object->children())
        if (qobject_cast<TBaseMultiLang*>(child) != nullptr)
            return true;
    return false;
}

// The owner's named controls in creation order (depth first).
void collectComponents(QObject* parent, QList<QObject*>& out)
{
    for (QObject* child : parent->children()) {
        if (qobject_cast<TBaseMultiLang*>(child) != nullptr || isOtherWindow(child))
            continue;
        const QString name = child->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            out << child;
        collectComponents(child, out);
    }
}

// Finds a control by name as typed, else without regard to case; the first of a name wins.
class ComponentIndex {
public:
    explicit ComponentIndex(QObject* owner)
    {
        if (owner != nullptr)
            collectComponents(owner, m_ordered);
        for (QObject* object : m_ordered) {
            const QString name = object->objectName();
            if (!m_exact.contains(name))
                m_exact.insert(name, object);
            if (!m_folded.contains(name.toLower()))
                m_folded.insert(name.toLower(), object);
        }
    }
    QObject* find(const QString& name) const
    {
        QObject* object = m_exact.value(name);
        return object != nullptr ? object : m_folded.value(name.toLower());
    }
    const QList<QObject*>& ordered() const { return m_ordered; }

private:
    QList<QObject*> m_ordered;
    QHash<QString, QObject*> m_exact;
    QHash<QString, QObject*> m_folded;
};

} // namespace

TBaseMultiLang::TBaseMultiLang(QWidget* owner) : QObject(owner), m_owner(owner)
{
    registry().append(this);
}

TBaseMultiLang::~TBaseMultiLang()
{
    registry().removeAll(this);
}

void TBaseMultiLang::LoadTable(const QString& path)
{
    TranslationTable table = readTranslationTable(path);
    m_languages = table.Languages;
    m_words = std::move(table.Words);
}

void TBaseMultiLang::Loaded()
{
    m_loading = false;
    // A window with fewer languages than the global one keeps its own, as SetGlobalLanguage
    // would leave it, rather than greeting the user with a message about its settings.
    int language = g_globalLanguage;
    if (language >= m_languages)
        language = m_activeLanguage >= 0 && m_activeLanguage < m_languages ? m_activeLanguage : 0;
    SetActiveLanguage(language);
}

// --- settings -------------------------------------------------------------------------------

void TBaseMultiLang::SetDefaultLanguage(int language)
{
    if (m_loading) {
        m_defaultLanguage = language;
        return;
    }
    if (language < 0 || language >= m_languages) {
        platform::MessageDlg(kTooHigh, platform::mtInformation, platform::mbCancel);
        return;
    }
    m_defaultLanguage = language;
    SetActiveLanguage(m_activeLanguage);
}

void TBaseMultiLang::SetDefaultEnabled(bool enabled)
{
    if (enabled == m_defaultEnabled)
        return;
    m_defaultEnabled = enabled;
    if (!m_loading)
        SetActiveLanguage(m_activeLanguage);
}

void TBaseMultiLang::SetLanguages(int count)
{
    if (m_loading) {
        m_languages = count;
        return;
    }
    if (count == m_languages)
        return;
    if (count < 1) {
        platform::MessageDlg(kAtLeastOne, platform::mtInformation, platform::mbOK);
        return;
    }
    if (count < m_languages) {
        const bool activeGoes = m_activeLanguage >= count;
        const QString question = kDecreasing + (activeGoes
            ? QStringLiteral("The currently displayed language will be deleted, too.\n\nDo you really want to continue?")
            : QStringLiteral("\nContinue?"));
        if (platform::MessageDlg(question, platform::mtConfirmation, platform::mbYes | platform::mbNo)
            != platform::mrYes)
            return;
        ResizeRows(count);
        if (activeGoes) {
            SetActiveLanguage(0);
            // Even a vetoed switch cannot keep a language that no longer exists.
            if (m_activeLanguage >= m_languages)
                m_activeLanguage = 0;
        }
        return;
    }
    ResizeRows(count);
}

// Cuts every row to `newCount` texts, or pads it with "?" for each new language.
void TBaseMultiLang::ResizeRows(int newCount)
{
    const int oldLength = RowLength();
    QStringList rows;
    for (qsizetype start = 0; start < m_words.size(); start += oldLength) {
        rows << m_words[start];
        const QStringList texts = m_words.mid(start + 1, oldLength - 1);
        for (int l = 0; l < newCount; ++l) {
            if (l < texts.size())
                rows << texts[l];
            else
                rows << (l < m_languages ? QString() : QStringLiteral("?"));
        }
    }
    m_words = rows;
    m_languages = newCount;
}

void TBaseMultiLang::SetSwitchPositions(TSwitchPositions value)
{
    if (value == m_switchPositions)
        return;
    if (m_loading) {
        m_switchPositions = value;
        return;
    }
    if (value == spNone) {
        bool differ = false;
        for (const QString& entry : m_positions)
            differ = differ || PositionsDiffer(entry);
        if (differ && platform::MessageDlg(kDropPositions, platform::mtWarning,
                                           platform::mbYes | platform::mbNo) != platform::mrYes) {
            platform::MessageDlg(QStringLiteral("Cancelled."), platform::mtInformation);
            return;
        }
        m_positions.clear();
    } else if (m_switchPositions == spFormAndControls && value == spControlsOnly) {
        if (platform::MessageDlg(kDropFormPositions, platform::mtWarning,
                                 platform::mbYes | platform::mbNo) != platform::mrYes) {
            platform::MessageDlg(QStringLiteral("Cancelled."), platform::mtInformation);
            return;
        }
        const int index = PositionIndex(QLatin1String(FormKey));
        if (index >= 0)
            m_positions.removeAt(index);
    }
    m_switchPositions = value;
}

bool TBaseMultiLang::PositionsDiffer(const QString& entry) const
{
    const QStringList parts = entry.split(QLatin1Char(','));
    for (qsizetype i = 2; i < parts.size(); ++i)
        if (parts[i] != parts[1])
            return true;
    return false;
}

int TBaseMultiLang::PositionIndex(const QString& key) const
{
    const QString prefix = key + QLatin1Char(',');
    for (qsizetype i = 0; i < m_positions.size(); ++i)
        if (m_positions[i].startsWith(prefix))
            return static_cast<int>(i);
    return -1;
}

// --- switching ------------------------------------------------------------------------------

void TBaseMultiLang::SetActiveLanguage(int language)
{
    if (m_loading) {
        m_activeLanguage = language;
        return;
    }
    if (language < 0 || language >= m_languages) {
        platform::MessageDlg(kTooHigh, platform::mtInformation, platform::mbCancel);
        return;
    }
    bool allow = true;
    if (BeforeLanguageChange)
        BeforeLanguageChange(this, language, allow);
    if (!allow)
        return;
    SwitchTo(language);
    if (AfterLanguageChanged)
        AfterLanguageChanged(this, language);
}

void TBaseMultiLang::SwitchTo(int language)
{
    const int old = m_activeLanguage;
    // The old language's font and positions are remembered only while it still exists (it goes
    // when the number of languages is lowered under it).
    if (old >= 0 && old < m_languages) {
        SaveFont(old);
        if (m_switchPositions != spNone)
            SavePositions(old);
    }
    m_activeLanguage = language;
    ApplyFont(language);
    if (m_switchPositions == spFormAndControls && m_owner != nullptr)
        ApplyPosition(m_owner, QLatin1String(FormKey));
    try {
        WalkWords();
    } catch (...) {
        // A failure outside a control's own texts ends the walk; the rest keeps its old texts.
    }
}

void TBaseMultiLang::SaveFont(int oldLanguage)
{
    if (m_owner == nullptr)
        return;
    const QString entry = m_owner->font().family() + QLatin1Char(',') + QString::number(m_charSet);
    while (m_charSets.size() < m_languages)
        m_charSets << entry;
    m_charSets[oldLanguage] = entry;
}

void TBaseMultiLang::ApplyFont(int language)
{
    if (m_owner == nullptr || language >= m_charSets.size())
        return;
    const QString& entry = m_charSets[language];
    const qsizetype comma = entry.indexOf(QLatin1Char(','));
    const QString name = comma < 0 ? entry : entry.left(comma);
    if (comma >= 0) {
        bool ok = false;
        const int charSet = entry.mid(comma + 1).trimmed().toInt(&ok);
        if (ok)
            m_charSet = charSet;
    }
    // Setting the same family would still pin the font on the window; only a change is applied.
    if (!name.isEmpty() && name != m_owner->font().family()) {
        QFont font = m_owner->font();
        font.setFamily(name);
        m_owner->setFont(font);
    }
}

void TBaseMultiLang::SavePositions(int oldLanguage)
{
    if (m_owner == nullptr)
        return;
    if (m_switchPositions == spFormAndControls)
        SavePosition(m_owner, QLatin1String(FormKey), oldLanguage);
    QList<QObject*> components;
    collectComponents(m_owner, components);
    for (QObject* component : components)
        SavePosition(component, component->objectName().toLower(), oldLanguage);
}

void TBaseMultiLang::SavePosition(QObject* object, const QString& key, int oldLanguage)
{
    const QString group = positionGroup(object);
    if (group.isNull())
        return;
    const int index = PositionIndex(key);
    if (index >= 0) {
        QStringList parts = m_positions[index].split(QLatin1Char(','));
        while (parts.size() < m_languages + 1)
            parts << QString();
        parts[oldLanguage + 1] = group;
        m_positions[index] = parts.join(QLatin1Char(','));
        return;
    }
    QStringList parts{key};
    for (int l = 0; l < m_languages; ++l)
        parts << group;
    m_positions << parts.join(QLatin1Char(','));
}

void TBaseMultiLang::ApplyPosition(QObject* object, const QString& key)
{
    auto* widget = qobject_cast<QWidget*>(object);
    const int index = PositionIndex(key);
    if (widget == nullptr || index < 0)
        return;
    const QStringList parts = m_positions[index].split(QLatin1Char(','));
    if (m_activeLanguage + 1 >= parts.size())
        return;
    const QStringList numbers = parts[m_activeLanguage + 1].split(QLatin1Char('.'));
    int values[4] = {widget->x(), widget->y(), widget->width(), widget->height()};
    for (int i = 0; i < 4 && i < numbers.size(); ++i) {
        bool ok = false;
        const int v = numbers[i].trimmed().toInt(&ok);
        if (ok)
            values[i] = v;
    }
    widget->move(values[0], values[1]);
    widget->resize(values[2], values[3]);
}

void TBaseMultiLang::WalkWords()
{
    const ComponentIndex components(m_owner);
    const int length = RowLength();
    int row = 0;
    while (row < m_words.size()) {
        const QString& key = m_words[row];
        if (key == QLatin1String(FormKey)) {
            QString caption;
            if (m_owner != nullptr && TextOfRow(row, caption))
                m_owner->setWindowTitle(caption);
            row += length;
            continue;
        }
        QObject* component = components.find(key);
        if (component == nullptr) {
            row += length;
            continue;
        }
        const int start = row;
        try {
            ApplyTexts(component, row);
        } catch (...) {
            // One control's failure does not stop the others.
            row = start;
        }
        // A control that took no row (or failed) must not hold the walk on its key row.
        if (row <= start)
            row = start + length;
    }
}

// --- texts ----------------------------------------------------------------------------------

bool TBaseMultiLang::IsContinuationRow(int row) const
{
    return row >= 0 && row < m_words.size() && m_words[row] == QLatin1String("\"");
}

bool TBaseMultiLang::IsHintRow(int row) const
{
    return row >= 0 && row < m_words.size()
        && m_words[row].compare(QLatin1String("\".hint"), Qt::CaseInsensitive) == 0;
}

bool TBaseMultiLang::TextOfRow(int row, QString& text) const
{
    const qsizetype entry = static_cast<qsizetype>(row) + m_activeLanguage + 1;
    if (row < 0 || m_activeLanguage < 0 || entry >= m_words.size())
        return false;
    text = m_words[entry];
    if (text.isEmpty() && m_defaultEnabled && m_defaultLanguage >= 0
        && m_defaultLanguage < m_languages) {
        const qsizetype fallback = static_cast<qsizetype>(row) + m_defaultLanguage + 1;
        if (fallback < m_words.size())
            text = m_words[fallback];
    }
    return true;
}

bool TBaseMultiLang::TakeText(int& row, QString& text) const
{
    if (!TextOfRow(row, text))
        return false;
    row += RowLength();
    return true;
}

QStringList TBaseMultiLang::TakeTexts(int& row) const
{
    QStringList texts;
    QString text;
    if (!TakeText(row, text))
        return texts;
    texts << text;
    while (IsContinuationRow(row) && TakeText(row, text))
        texts << text;
    return texts;
}

QString TBaseMultiLang::GetText(const QString& key)
{
    const int length = RowLength();
    for (qsizetype row = 0; row + length <= m_words.size(); row += length) {
        if (m_words[row] == key) {
            QString text;
            TextOfRow(static_cast<int>(row), text);
            return text;
        }
    }
    QString text = key;
    if (IdNotFoundError)
        IdNotFoundError(this, key, text);
    return text;
}

// --- registry -------------------------------------------------------------------------------

void SetGlobalLanguage(int language)
{
    if (language < 0)
        return;
    // A switch may create or free windows (an AfterLanguageChanged handler): work on a copy and
    // skip the instances that went meanwhile.
    const QList<TBaseMultiLang*> instances = registry();
    for (TBaseMultiLang* instance : instances)
        if (registry().contains(instance) && instance->Languages() > language)
            instance->SetActiveLanguage(language);
    g_globalLanguage = language;
}

int GlobalLanguage()
{
    return g_globalLanguage;
}

QList<TBaseMultiLang*> MultiLangInstances()
{
    return registry();
}
