// The program's own start-up, run for real on the offscreen platform: the
// settings store, the event log, the application object, held messages,
// then the main window. Each case makes its own application object, so this
// binary's main makes none, and a process runs one case (CTest runs each case
// in a process of its own).

#include "shell/CCorvaneModulesApp.h"
#include "shell/CMainFrame.h"
#include "shell/StartUp.h"
#include "TestSupport.h"

#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Message boxes as the user saw them, and whether the main window was up.
QStringList g_boxes;

// Answers every message box shown while start-up runs, noting its text.
void AnswerMessageBoxes()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            bool windowUp = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                windowUp = windowUp || (qobject_cast<CMainFrame*>(w) && w->isVisible());
            g_boxes << box->text() + (windowUp ? " (after the window)" : "");
            box->accept();
        }
    });
    timer->start(1);
}

class StartUp : public ::testing::Test {
protected:
    StartUp()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        fs::remove(dir.Path() / "config.txt");
    }

    void SetUp() override
    {
        static int started = 0;
        if (started++ > 0) GTEST_SKIP() << "one start-up per process: run it with --gtest_filter";
        qAddPreRoutine(AnswerMessageBoxes);
    }

    // Runs the program until its main window is up; true when it got there.
    bool Run()
    {
        int argc = 1;
        char name[] = "corvane-utility", *argv[] = {name, nullptr};
        bool shown = false;
        const int rc = RunCorvaneUtility(argc, argv, [&](CCorvaneModulesApp& app) {
            shown = app.MainFrame() && app.MainFrame()->isVisible() &&
                    app.MainFrame()->windowTitle() == "Corvane Utility Version 2.0.0";
            decimalPoint = std::localeconv()->decimal_point;
            qtDecimalPoint = QLocale().decimalPoint().toStdString();
            return 0;
        });
        return rc == 0 && shown;
    }
    // A directory of its own, made current; the program makes its own store.
    TempWorkDir dir;
    std::string decimalPoint, qtDecimalPoint;
};

// A user with a comma-decimal locale (when the machine has one) and a
// config.txt that cannot be read: logged, and numbers keep their point.
TEST_F(StartUp, ConfigTxtThatCannotBeReadIsLoggedAndTheProgramGoesOn)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) setenv("LC_ALL", "de_DE.UTF-8", 1);
    fs::create_directory(dir.Path() / "config.txt");
    ASSERT_TRUE(Run());
    EXPECT_EQ(decimalPoint + qtDecimalPoint, "..");
    EXPECT_TRUE(g_boxes.isEmpty());
    // Once as the store loads, once as the event log reads its directory.
    // The system's reason follows in the user's language.
    const std::string entry = "{DBConfigParser::Parse}  \n\t\t\tCannot read " + (dir.Path() / "config.txt").string() + ": ";
    const std::string log = dir.ReadFile("eventLog.txt");
    EXPECT_NE(log.find(entry), std::string::npos) << log;
    EXPECT_NE(log.find(entry, log.find(entry) + 1), std::string::npos) << log;
}

TEST_F(StartUp, MissingConfigTxtIsSaidTwiceBeforeTheWindow)
{
    ASSERT_TRUE(Run());
    const QString text = "Cannot open file Config.txt. Please make sure the file is in the same directory as "
                         "CorvaneUtility.exe!";
    EXPECT_EQ(g_boxes, (QStringList{text, text}));
}

}  // namespace
