// Translation table files: UTF-8 text, one row of the table per line, the fields separated by
// tabs:
//
//     key <TAB> French <TAB> English <TAB> German <TAB> Spanish <TAB> Portuguese <TAB> Dutch <TAB> Italian
//
// - Texts missing at the end of a line are empty ("AgBtn" alone is a row of empty texts); more
//   texts than languages is an error.
// - Keys: "%Form%" (the caption), a control's objectName, `"` (a further text of the control
//   above: list items, columns, a dialog's filter), `".Hint` (its tool tip), "@1", "@2"... (texts
//   the window's code asks for).
// - In keys and texts, \t is a tab, \n a line break, \s a space (for a trailing blank that an
//   editor might strip) and \\ a backslash; any other backslash stays as it is.
// - Blank lines and lines starting with '#' are ignored.
// - "!Languages <TAB> n" before the first row sets the number of languages, 1 to the program's 7
//   (7 when absent). A table for more languages than the program has is refused: each row would
//   grow to that many entries, so a short file could ask for gigabytes.
//
// The rows go into `Words` in file order, each as Languages + 1 entries, so that a row is found
// at index row * (Languages + 1).
#include "TranslationTable.h"

#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

namespace {

QString unescape(const QString& field)
{
    if (!field.contains(QLatin1Char('\\')))
        return field;
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != QLatin1Char('\\') || i + 1 >= field.size()) {
            out += c;
            continue;
        }
        const QChar next = field[i + 1];
        if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

[[noreturn]] void fail(const QString& name, int line, const QString& reason)
{
    throw platform::EInOutError(
        platform::readErrorMessage(name, QStringLiteral("line %1: %2").arg(line).arg(reason)));
}

} // namespace

TranslationTable parseTranslationTable(const QString& text, const QString& name)
{
    TranslationTable table;
    bool rowsStarted = false;
    const QStringList lines = platform::splitLines(text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        const int lineNumber = static_cast<int>(n) + 1;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('!'))) {
            bool ok = false;
            const int count = fields.value(1).trimmed().toInt(&ok);
            if (fields[0] != QLatin1String("!Languages") || fields.size() != 2)
                fail(name, lineNumber, QStringLiteral("unknown setting"));
            if (rowsStarted || !ok || count < 1 || count > ProgramLanguages)
                fail(name, lineNumber, QStringLiteral("the number of languages comes first, 1 to %1")
                                           .arg(ProgramLanguages));
            table.Languages = count;
            continue;
        }
        rowsStarted = true;
        const QString key = unescape(fields[0]);
        if (key.isEmpty())
            fail(name, lineNumber, QStringLiteral("a row without a key"));
        if (fields.size() - 1 > table.Languages)
            fail(name, lineNumber, QStringLiteral("%1 texts for %2 languages")
                                       .arg(fields.size() - 1)
                                       .arg(table.Languages));
        table.Words << key;
        for (int l = 0; l < table.Languages; ++l)
            table.Words << (l + 1 < fields.size() ? unescape(fields[l + 1]) : QString());
    }
    return table;
}

TranslationTable readTranslationTable(const QString& path)
{
    return parseTranslationTable(platform::decodeText(platform::readFileBytes(path)), path);
}
