// Back Up, Restore and Compare in the Setup menu against the simulated
// logger of each kind: what the review shows, what reaches the logger and
// the file, and that nothing is sent for a bad file or a cancelled read.

#include "shell/CBackupReviewDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CCorvaneModulesView.h"
#include "cli/CorvaneCli.h"
#include "FormFinder.h"
#include "base/ui/FormSupport.h"
#include "SimFixture.h"
#include "base/ui/StepProgress.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QFileDialog>
#include <QProgressDialog>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

using Row = std::vector<std::string>;  // setting, on the logger, in the file

std::vector<Row> TableRows(QDialog& dlg)
{
    std::vector<Row> rows;
    auto* table = FindField<QTableWidget>(&dlg, "Changes");
    for (int r = 0; table && r < table->rowCount(); ++r) {
        Row row;
        for (int c = 0; c < 3; ++c) row.push_back(table->item(r, c)->text().toStdString());
        rows.push_back(row);
    }
    return rows;
}

// The file's lines that are not comments.
std::string Settings(const std::string& text)
{
    std::istringstream in(text);
    std::string kept, line;
    while (std::getline(in, line))
        if (line.rfind("#", 0) != 0) kept += line + "\n";
    return kept;
}

class BackupTest : public ::testing::Test {
protected:
    BackupTest()
    {
        previousRunner_ = SetFormRunner([this](QDialog& dlg) {
            forms.push_back(dlg.windowTitle().toStdString());
            if (auto* files = qobject_cast<QFileDialog*>(&dlg)) {
                offered = files->selectedFiles().value(0).toStdString();
                if (file.empty()) return int(QDialog::Rejected);
                files->selectFile(QString::fromStdString((dir.Path() / file).string()));
                dlg.accept();
                return dlg.result();
            }
            if (auto* review = qobject_cast<CBackupReviewDlg*>(&dlg)) {
                reviewed = TableRows(dlg);
                reviewText = review->Text().toStdString();
                FindButton(&dlg, "&Copy")->click();
                copied = QApplication::clipboard()->text().toStdString();
            }
            okReview ? dlg.accept() : dlg.reject();
            return dlg.result();
        });
    }
    ~BackupTest() override { SetFormRunner(previousRunner_); }

    void Pick(const QString& command) { EXPECT_TRUE(PickMenuItem(&frame, command)) << command.toStdString(); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    CMainFrame frame;
    Lines forms;
    std::string file;  // the file the file dialogs choose, in dir; empty: cancelled
    bool okReview = true;
    std::vector<Row> reviewed;
    std::string reviewText, copied, offered;
    FormRunner previousRunner_;
};

// change: what happens to the logger after the backup; review: the rows
// Compare then shows; writes: what Restore sends to put it back.
struct KindCase {
    const char* name;
    SimKind kind;
    std::function<void(SimFixture&)> change;
    std::vector<Row> review;
    Lines writes;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

class BackupRoundTrip : public BackupTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(BackupRoundTrip, CompareShowsTheChangeAndRestoreBringsBackEveryByte)
{
    const KindCase& c = GetParam();
    SimFixture sim(c.kind);
    sim.UseAsPort(dir);
    const SimState original = sim->State();
    file = "window.txt";
    Pick("&Back Up Logger Settings...");
    const std::string kind = c.name;
    EXPECT_EQ(offered, (dir.Path() / (kind + " backup " + QDate::currentDate().toString(Qt::ISODate).toStdString() +
                                      ".txt")).string());
    ASSERT_EQ(messages.Texts(), Lines{"Backup of the " + kind + " logger written to " + (dir.Path() / file).string() + "."});
    EXPECT_TRUE(sim.SetLines().empty());
    // The window's file and corvane-cli's differ only in their comments.
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"backup", "cli.txt"}, out, err), 0) << err.str();
    const std::string backup = dir.ReadFile("window.txt");
    EXPECT_NE(backup.find("# Corvane Logger configuration, written by the Corvane Utility.\n"), std::string::npos);
    EXPECT_EQ(Settings(backup), Settings(dir.ReadFile("cli.txt")));

    c.change(sim);
    sim.ClearLines();
    messages.Clear();
    Pick("&Compare with Backup...");
    EXPECT_EQ(reviewed, c.review);
    EXPECT_EQ(copied, reviewText);
    EXPECT_TRUE(sim.SetLines().empty());
    EXPECT_TRUE(messages.Texts().empty());

    Pick("&Restore Logger Settings...");
    EXPECT_EQ(sim.SetLines(), c.writes);
    SimState restored = sim->State();
    restored.alarms = original.alarms;  // a change of conditions clears the log
    EXPECT_EQ(restored.ToText(), original.ToText());
    // Changing an output's conditions clears its log: said before anything goes.
    Lines said{"The logger now holds the configuration in window.txt."};
    if (c.kind == SimKind::Aom) said.insert(said.begin(), "This operation will clear your Alarm Event Log");
    EXPECT_EQ(messages.Texts(), said);

    // Restored, the logger agrees with the file: nothing to do, nothing sent.
    sim.ClearLines();
    Pick("&Compare with Backup...");
    EXPECT_TRUE(reviewed.empty());
    EXPECT_EQ(reviewText, "The logger already holds this configuration; nothing to write.\n");
    EXPECT_TRUE(sim.SetLines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BackupRoundTrip,
    ::testing::Values(
        KindCase{"ALOHA", SimKind::Aloha, [](SimFixture& s) { s.SetParam(1, "45"); },
                 {{"timeout", "45", "30"}}, {"MOD01 30\n"}},
        KindCase{"APRS", SimKind::Aprs, [](SimFixture& s) { s.SetParam(12, "4800"); },
                 {{"baud", "4800", "9600"}}, {"MOD12 9600\n"}},
        KindCase{"IRR", SimKind::Irr, [](SimFixture& s) { s.SetParam(8, "5"); },
                 {{"cycle", "5", "3"}}, {"MOD08 3\n"}},
        KindCase{"AOM", SimKind::Aom,
                 [](SimFixture& s) {
                     s->UpdateState([](SimState& st) { st.outputs[1].pulseWidth = 500; });
                     s.SetConditions(3, "18 0 80");
                 },
                 {{"output 2 pulse-width", "500", "250"},
                  {"output 4 conditions", "logic AND", "logic AND"},
                  {"output 4 row 1", "Outside Humidity | Greater Than or = | 80 |  | ",
                   "Outside Humidity | Greater Than or = | 90 |  | "},
                  {"output 4 row 2", "(empty)", "Time | Between | 7:00 | 19:00 | "}},
                 {"MOD19 1 0 0\n", "MOD20 1 250 1\n", "MOD23\n", "MOD15 3\n", "MOD16 3 18 0\n", "MOD17 3 18 90\n",
                  "MOD16 3 128 2\n", "MOD17 3 128 0700 1900\n", "MOD18 3 1\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Steps are watched, and answered, as the progress window shows them.
struct StepWatch {
    explicit StepWatch(std::function<void(QProgressDialog&, const std::string&)> also = {})
        : previous(StepProgress::SetObserver([this, also](QProgressDialog& window, const std::string& step) {
              steps.push_back(step);
              if (also) also(window, step);
          }))
    {
    }
    ~StepWatch() { StepProgress::SetObserver(previous); }
    Lines steps;
    StepProgress::Observer previous;
};

// A bad file is refused before the port is opened; another kind's, a
// refused value and a cancelled read send nothing to the logger.
TEST_F(BackupTest, NothingIsSentForABadFileARefusalOrACancelledRead)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    const SimState original = sim->State();
    file = "b.txt";
    dir.WriteFile("b.txt", "kind = AOM\ntimeout\n");
    Pick("&Restore Logger Settings...");
    EXPECT_EQ(messages.Texts(), Lines{"b.txt: line 2: expected name = value: timeout"});
    EXPECT_TRUE(sim.Lines().empty());

    messages.Clear();
    dir.WriteFile("b.txt", "kind = ALOHA\ntimeout = 30\n");
    Pick("&Restore Logger Settings...");
    EXPECT_EQ(messages.Texts(),
              Lines{"b.txt holds the configuration of an ALOHA logger; the logger on the port is AOM."});

    messages.Clear();
    dir.WriteFile("b.txt", "kind = AOM\n[output 2]\npulse-width = 10000\n");
    Pick("&Restore Logger Settings...");
    EXPECT_EQ(reviewText, "b.txt cannot be written to the logger as it is; nothing will be sent:\n"
                          "Setting\tOn the logger\tIn the file\noutput 2 pulse-width\t250\t10000\n"
                          "output 2: Invalid Pulse Width! Must be between 0 and 9999\n");
    EXPECT_TRUE(messages.Texts().empty());

    for (const char* command : {"&Restore Logger Settings...", "&Back Up Logger Settings..."}) {
        forms.clear();
        StepWatch watch([&](QProgressDialog& window, const std::string& step) {
            EXPECT_EQ(window.accessibleName().toStdString(), forms.empty() ? "Back Up Logger Settings" : forms[0]);
            if (step == "Reading output 3 of 4") FindButton(&window, "Cancel")->click();
        });
        Pick(command);
        EXPECT_EQ(watch.steps, (Lines{"Detecting the logger", "Reading output 1 of 4", "Reading output 2 of 4",
                                      "Reading output 3 of 4"}));
        // Neither the review nor the file to save comes up.
        const bool restore = std::string(command).find("Restore") != std::string::npos;
        EXPECT_EQ(forms, restore ? Lines{"Restore Logger Settings"} : Lines{});
        EXPECT_TRUE(messages.Texts().empty());
    }
    EXPECT_TRUE(sim.SetLines().empty());
    EXPECT_EQ(sim->State().ToText(), original.ToText());
}

// Each step shows in the progress window; a write that fails names the
// writes that went before it.
TEST_F(BackupTest, AFailedRestoreNamesWhatWasWritten)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    file = "b.txt";
    Pick("&Back Up Logger Settings...");
    sim->UpdateState([](SimState& st) { st.outputs[1].pulseWidth = 500; });
    sim.SetConditions(3, "18 0 80");
    messages.Clear();
    StepWatch watch([&](QProgressDialog&, const std::string& step) {
        if (step == "Clearing the alarm log") sim.SetFault(SimFault::ErrorSets);
    });
    Pick("&Restore Logger Settings...");
    EXPECT_EQ(watch.steps,
              (Lines{"Detecting the logger", "Reading output 1 of 4", "Reading output 2 of 4", "Reading output 3 of 4",
                     "Reading output 4 of 4", "Writing output 2 options", "Clearing the alarm log"}));
    ASSERT_EQ(messages.Texts(), (Lines{"This operation will clear your Alarm Event Log", "Could not clear alarm records"}));
    EXPECT_EQ(messages.Shown().back().details, "Already written: output 2 options;");
    EXPECT_EQ(sim.Conditions(3), "18 0 80");
}

}  // namespace
