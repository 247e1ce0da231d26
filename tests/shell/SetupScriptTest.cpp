// The set-up script run against stand-in package tools: what it asks the package database and
// what it installs.

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A folder of stand-in commands, the only one on the script's PATH: `dpkg-query` answers from
// the list of installed packages and logs each call, `apt-get` logs what it is asked, `id` gives
// the user number, `sudo` (when present) runs its command.
struct FakeSystem {
    QTemporaryDir dir;

    void tool(const QString& name, const QByteArray& body)
    {
        const QString path = dir.filePath(name);
        testsupport::writeBytes(path, "#!/bin/bash\n" + body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    QString log() const { return QString::fromUtf8(testsupport::readBytes(dir.filePath("log"))); }

    FakeSystem(const QStringList& installed, int uid, bool withSudo)
    {
        testsupport::writeBytes(dir.filePath("installed"), installed.join('\n').toUtf8() + '\n');
        // Answers as dpkg-query -W -f does for the packages it knows; the others go to stderr.
        tool("dpkg-query", "echo \"dpkg-query $*\" >> \"" + QFile::encodeName(dir.filePath("log")) + "\"\n"
                           "mapfile -t known < \"" + QFile::encodeName(dir.filePath("installed")) + "\"\n"
                           "for a in \"$@\"; do\n"
                           "  case \"$a\" in -*) continue;; esac\n"
                           "  found=0\n"
                           "  for k in \"${known[@]}\"; do\n"
                           "    if [ \"$k\" = \"$a\" ]; then found=1; fi\n"
                           "  done\n"
                           "  if [ $found = 1 ]; then\n"
                           "    if [ $# -le 3 ]; then printf 'install ok installed'; else\n"
                           "    printf '%s install ok installed\\n' \"$a\"; fi\n"
                           "  else echo \"no packages found matching $a\" >&2; fi\n"
                           "done\n");
        tool("apt-get", "echo \"apt-get $*\" >> \"" + QFile::encodeName(dir.filePath("log")) + "\"\n");
        tool("id", "echo " + QByteArray::number(uid) + "\n");
        // The tools any version of the script may pipe through.
        for (const char* t : {"grep", "cat"})
            QFile::link(QStringLiteral("/usr/bin/") + t, dir.filePath(t));
        if (withSudo)
            tool("sudo", "echo \"sudo\" >> \"" + QFile::encodeName(dir.filePath("log")) + "\"\n\"$@\"\n");
    }

    // Runs the script; its exit code.
    int run(QString* errors = nullptr)
    {
        QProcess p;
        QProcessEnvironment env;
        env.insert("PATH", dir.path());
        p.setProcessEnvironment(env);
        p.start("/bin/bash", {testsupport::dataPath("../../scripts/setup")});
        EXPECT_TRUE(p.waitForFinished(30000));
        if (errors != nullptr)
            *errors = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
};

// The packages the script wants, read from its own list.
QStringList wantedPackages()
{
    const QString script = QString::fromUtf8(testsupport::readBytes(testsupport::dataPath("../../scripts/setup")));
    const QRegularExpression list("packages=\\((.*?)\\n\\)", QRegularExpression::DotMatchesEverythingOption);
    QStringList names;
    for (QString line : list.match(script).captured(1).split('\n')) {
        line = line.section('#', 0, 0);
        names += line.split(' ', Qt::SkipEmptyParts);
    }
    return names;
}

} // namespace

// Whatever is installed, the package database is asked once; the packages missing, and only
// they, are installed (through sudo when not root); without root rights nor sudo the script
// names what is missing and fails.
TEST(SetupScript, AsksOnceAndInstallsWhatIsMissing)
{
    const QStringList all = wantedPackages();
    ASSERT_GT(all.size(), 10);
    struct Case {
        const char* name;
        QStringList missing;
        int uid;
        bool sudo;
        int exitCode;
        bool viaSudo;
    };
    const Case cases[] = {
        {"all installed", {}, 1000, false, 0, false},
        {"two missing, root", {all[0], all.last()}, 0, false, 0, false},
        {"one missing, sudo", {all[3]}, 1000, true, 0, true},
        {"one missing, no rights", {all[3]}, 1000, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList installed = all;
        for (const QString& m : c.missing)
            installed.removeAll(m);
        FakeSystem system(installed, c.uid, c.sudo);
        QString errors;
        EXPECT_EQ(system.run(&errors), c.exitCode) << errors.toStdString();
        const QStringList calls = system.log().split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(calls.filter(QRegularExpression("^dpkg-query")).size(), 1) << system.log().toStdString();
        const QStringList installs = calls.filter(QRegularExpression("^apt-get install"));
        if (c.missing.isEmpty() || c.exitCode != 0) {
            EXPECT_TRUE(installs.isEmpty()) << system.log().toStdString();
        } else {
            ASSERT_EQ(installs.size(), 1) << system.log().toStdString();
            QStringList asked = installs[0].split(' ', Qt::SkipEmptyParts).filter(QRegularExpression("^[^-]"));
            asked.removeAll("apt-get");
            asked.removeAll("install");
            EXPECT_EQ(asked, c.missing);
        }
        EXPECT_EQ(calls.contains("sudo"), c.viaSudo);
        if (c.exitCode != 0) {
            EXPECT_TRUE(errors.contains(c.missing.join(' '))) << errors.toStdString();
        }
    }
}
