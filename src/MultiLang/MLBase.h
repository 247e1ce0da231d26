#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

#include <QWidget>

// The translation component every window carries (`MultiLang1`). It holds the window's texts in
// every language in one flat table, puts the active language's texts into the window's
// controls (found by objectName) when the language changes, and serves run-time texts by key.
// Every instance is registered, so that SetGlobalLanguage switches all windows at once and a
// window created later starts in the language chosen last.
//
// A window builds it after its controls, gives it its table, then calls Loaded():
//     MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFormat.txt"));
//     ...
//     MultiLang1->Loaded();
// Until Loaded() the settings are taken as they come, without questions, as while a window's
// definition is read.

enum TSwitchPositions { spNone, spControlsOnly, spFormAndControls };

class TBaseMultiLang : public QObject {
    Q_OBJECT
public:
    using TBeforeLanguageChange =
        std::function<void(TBaseMultiLang* Sender, int NewLanguage, bool& AllowIt)>;
    using TAfterLanguageChanged = std::function<void(TBaseMultiLang* Sender, int NewLanguage)>;
    using TIdNotFoundError =
        std::function<void(TBaseMultiLang* Sender, const QString& Key, QString& Text)>;

    // The owner is the window whose controls are translated; it also owns the component.
    explicit TBaseMultiLang(QWidget* owner);
    ~TBaseMultiLang() override;

    QWidget* Owner() const { return m_owner; }

    static QString About() { return QStringLiteral("3.59"); }

    TBeforeLanguageChange BeforeLanguageChange;
    TAfterLanguageChanged AfterLanguageChanged;
    TIdNotFoundError IdNotFoundError;

    int DefaultLanguage() const { return m_defaultLanguage; }
    void SetDefaultLanguage(int language);
    bool DefaultEnabled() const { return m_defaultEnabled; }
    void SetDefaultEnabled(bool enabled);
    int Languages() const { return m_languages; }
    void SetLanguages(int count);
    int ActiveLanguage() const { return m_activeLanguage; }
    // Switches the window to the language (texts, font, positions).
    void SetActiveLanguage(int language);
    const QStringList& DoNot() const { return m_doNot; }
    void SetDoNot(const QStringList& names) { m_doNot = names; }
    const QStringList& Words() const { return m_words; }
    void SetWords(const QStringList& words) { m_words = words; }
    TSwitchPositions SwitchPositions() const { return m_switchPositions; }
    void SetSwitchPositions(TSwitchPositions value);
    const QStringList& Positions() const { return m_positions; }
    void SetPositions(const QStringList& positions) { m_positions = positions; }
    const QStringList& CharSets() const { return m_charSets; }
    void SetCharSets(const QStringList& charSets) { m_charSets = charSets; }

    // Reads a table file or resource into Languages and Words (see TranslationTable.cpp).
    void LoadTable(const QString& path);

    bool IsLoading() const { return m_loading; }
    // The window is complete: switch it to the global language.
    void Loaded();

    // The run-time text of a key in the active language; a missing key gives the key itself.
    QString GetText(const QString& key);

    // Puts the texts of the rows starting at `row` into the component and leaves `row` on the
    // first row it did not use.
    virtual void ApplyTexts(QObject* component, int& row) = 0;

    static constexpr const char* FormKey = "%Form%";

protected:
    int RowLength() const { return m_languages + 1; }
    bool IsContinuationRow(int row) const;
    bool IsHintRow(int row) const;
    // The text of the row in the active language (or the default one, when that is empty and
    // allowed); false when the entry lies beyond the table.
    bool TextOfRow(int row, QString& text) const;
    // Takes the text of the row and moves on one row; nothing moves when it fails.
    bool TakeText(int& row, QString& text) const;
    // The texts of a component: its own row, then the continuation rows that follow.
    QStringList TakeTexts(int& row) const;
    // Sets Left, Top, Width, Height of a widget from its entry in Positions for the active
    // language.
    void ApplyPosition(QObject* object, const QString& key);

private:
    void SwitchTo(int language);
    void SaveFont(int oldLanguage);
    void ApplyFont(int language);
    void SavePositions(int oldLanguage);
    void SavePosition(QObject* object, const QString& key, int oldLanguage);
    void WalkWords();
    void ResizeRows(int newCount);
    bool PositionsDiffer(const QString& entry) const;
    int PositionIndex(const QString& key) const;

    QPointer<QWidget> m_owner;
    bool m_loading = true;
    int m_defaultLanguage = 0;
    bool m_defaultEnabled = false;
    int m_languages = 2;
    int m_activeLanguage = 0;
    // The character-set number of the window's font: the platform's fonts have none, so the
    // number applied last is kept for the next save.
    int m_charSet = 1;
    QStringList m_doNot;
    QStringList m_words;
    TSwitchPositions m_switchPositions = spNone;
    QStringList m_positions;
    QStringList m_charSets;
};

// Switches every registered instance that has the language, and makes it the language of the
// windows created from now on.
void SetGlobalLanguage(int language);
int GlobalLanguage();
// The live instances, in the order they were created.
QList<TBaseMultiLang*> MultiLangInstances();
