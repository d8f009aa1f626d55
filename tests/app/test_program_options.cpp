// The program's command line as a user meets it: --help and --version answer without a
// display, an unknown option ends with status 2 before any window, Qt's own options pass.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <fstream>
#include <sstream>

namespace {

struct CProgramRun {
    bool bFinished = false;
    int nStatus = -1;
    QString strOut, strErr;
};

// Runs the built program. bNoDisplay: no display at all and the X11 platform, so a run that
// started Qt would fail rather than quietly use an offscreen one.
CProgramRun RunVelkin(const QStringList& vArgs, bool bNoDisplay) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", bNoDisplay ? "xcb" : "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VELKIN_BINARY_DIR "/bin/velkin"), vArgs);
    CProgramRun r;
    if (!p.waitForStarted(5000))
        return r;
    r.bFinished = p.waitForFinished(15000);
    if (!r.bFinished) {
        p.kill();
        p.waitForFinished(3000);
        return r;
    }
    r.nStatus = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.strOut = QString::fromUtf8(p.readAllStandardOutput());
    r.strErr = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString ProjectVersion() {
    std::ifstream f(VELKIN_SOURCE_DIR "/CMakeLists.txt");
    std::stringstream ss;
    ss << f.rdbuf();
    QRegularExpressionMatch m = QRegularExpression(R"(project\(velkin VERSION ([0-9.]+))")
                                    .match(QString::fromStdString(ss.str()));
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

TEST(ProgramOptions, HelpListsTheOptionsWithoutADisplay) {
    for (const char* pszHelp : {"--help", "-h"}) {
        SCOPED_TRACE(pszHelp);
        // Given among other options, Qt's included: help still wins.
        CProgramRun r = RunVelkin({"-platform", "xcb", "--simulate", pszHelp}, true);
        ASSERT_TRUE(r.bFinished);
        EXPECT_EQ(r.nStatus, 0) << r.strErr.toStdString();
        for (const char* pszOption : {"--simulate[=FILE]", "--quit-after-first-paint",
                                      "--widget-gallery", "--version", "--help"})
            EXPECT_TRUE(r.strOut.contains(pszOption)) << pszOption;
        EXPECT_TRUE(r.strErr.isEmpty()) << r.strErr.toStdString();
    }
}

TEST(ProgramOptions, VersionIsTheProjectVersion) {
    const QString strVersion = ProjectVersion();
    ASSERT_FALSE(strVersion.isEmpty());
    CProgramRun r = RunVelkin({"--version"}, true);
    ASSERT_TRUE(r.bFinished);
    EXPECT_EQ(r.nStatus, 0) << r.strErr.toStdString();
    EXPECT_EQ(r.strOut, "velkin " + strVersion + "\n");
}

TEST(ProgramOptions, UnknownArgumentsEndWithStatusTwo) {
    struct Case {
        QStringList vArgs;
        const char* pszSays;
    } aCases[] = {
        {{"--frobnicate"}, "velkin: unknown option --frobnicate"},
        // Qt takes its own options first; only what is left is the program's to judge.
        {{"-platform", "offscreen", "--simulate", "--frobnicate"},
         "velkin: unknown option --frobnicate"},
        {{"extra"}, "velkin: unexpected argument extra"},
        {{"--simulate="}, "velkin: --simulate= needs a file name"},
        {{"--grab", "x.png"}, "velkin: --grab works only with --widget-gallery"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.vArgs.join(' ').toStdString());
        CProgramRun r = RunVelkin(c.vArgs, false);
        ASSERT_TRUE(r.bFinished) << "the program must end without opening its window";
        EXPECT_EQ(r.nStatus, 2);
        EXPECT_TRUE(r.strErr.contains(c.pszSays)) << r.strErr.toStdString();
        EXPECT_TRUE(r.strErr.contains("velkin --help")) << r.strErr.toStdString();
    }
}
