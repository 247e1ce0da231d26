#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace platform {

namespace {
QString g_programFolder;
} // namespace

bool folderWritable(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.write-test-XXXXXX"));
    return probe.open();
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pravolis");
}

void setProgramFolder(const QString& folder)
{
    g_programFolder = QDir::cleanPath(folder);
}

QString programFolder()
{
    if (g_programFolder.isEmpty()) {
        const QString exeFolder = QCoreApplication::applicationDirPath();
        if (!exeFolder.isEmpty() && folderWritable(exeFolder)) {
            g_programFolder = exeFolder;
        } else {
            g_programFolder = userDataFolder();
            QDir().mkpath(g_programFolder);
        }
    }
    return g_programFolder;
}

QString settingsFilePath()
{
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty())
        name = QStringLiteral("pravolis");
    return programFolder() + u'/' + name + QStringLiteral(".ini");
}

QString withSlashes(const QString& path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    return p;
}

QString joinPath(const QString& folder, const QString& relative)
{
    const QString rel = withSlashes(relative);
    if (folder.isEmpty() || QDir::isAbsolutePath(rel))
        return rel;
    QString f = withSlashes(folder);
    if (f.endsWith(u'/'))
        f.chop(1);
    return f + u'/' + rel;
}

QString findExisting(const QString& path)
{
    const QString p = withSlashes(path);
    if (p.isEmpty())
        return {};
    if (QFileInfo::exists(p))
        return p;
    // Walk the path one level at a time, matching each missing name without letter case.
    const bool absolute = p.startsWith(u'/');
    const QStringList parts = p.split(u'/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    QString result = absolute ? QStringLiteral("") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString candidate = (current == QStringLiteral("/") ? QString() : current) + u'/' + part;
        if (!QFileInfo::exists(candidate)) {
            QString match;
            const QStringList names = QDir(current).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
            for (const QString& n : names)
                if (n.compare(part, Qt::CaseInsensitive) == 0) {
                    match = n;
                    break;
                }
            if (match.isEmpty())
                return {};
            candidate = (current == QStringLiteral("/") ? QString() : current) + u'/' + match;
        }
        current = candidate;
    }
    if (!absolute && current.startsWith(QStringLiteral("./")))
        current = current.mid(2);
    return current;
}

bool fileExistsAnyCase(const QString& path)
{
    return !findExisting(path).isEmpty();
}

bool ensureFolder(const QString& folder)
{
    return QDir().mkpath(folder);
}

} // namespace platform
