// The conditions page and corvane-cli restore put the same lines on the
// wire for the same rows: both go through one core write.
#include "AlarmParameterTable.h"
#include "AomConditionTable.h"
#include "AomStation.h"
#include "AomUnits.h"
#include "BackupFile.h"
#include "CAomConditionsPage.h"
#include "CorvaneCli.h"
#include "FormFinder.h"
#include "SerialLink.h"
#include "SettingsKeys.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <QComboBox>
#include <gtest/gtest.h>

#include <sstream>

namespace {

// The lines of output 2's write, from its clear to its logic.
Lines OutputWrite(const Lines& lines)
{
    const auto from = std::find(lines.begin(), lines.end(), "MOD15 1\n");
    Lines write;
    for (auto it = from; it != lines.end(); ++it) {
        if (it->rfind("MOD", 0) == 0) write.push_back(*it);
        if (it->rfind("MOD18 1 ", 0) == 0) break;
    }
    return write;
}

TEST(FormAndCli, SendTheSameLinesForTheSameRows)
{
    TempWorkDir dir("AOM_STATION_CONFIG=0$22$26$\n");
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"backup", "b.txt"}, out, err), kCliDone) << err.str();
    const std::string held = sim.Conditions(1);

    // Output 2 on the page: row 1 becomes Outside Temperature minus the sensor
    // on transmitter 3, "Less Than or =" 5 °F; the trend below it stays.
    ASSERT_EQ(LinkOpen(1, 19200), 0);
    ReadTransmitterList();
    RebuildExtraSensorCodes();
    SetAomUnits({UnitFahrenheit, UnitInch, UnitMph, UnitInch});
    CAomSettings record{nullptr, "AOM     100", "30", true};
    CAomConditionsPage page(1);
    page.SetSettings(&record);
    page.Create();
    auto pick = [&](int row, const char* what, const char* text) {
        auto* list = FindField<QComboBox>(&page, QString("Row %1 %2").arg(row).arg(what));
        list->setCurrentIndex(list->findText(text));
        emit list->activated(list->currentIndex());
    };
    pick(1, "parameter", "Outside Temperature");
    pick(1, "check type", "Minus");
    pick(2, "parameter", "Extra Temperature 3");
    pick(2, "check type", "Less Than or =");
    FindField<QLineEdit>(&page, "Row 2 value 1")->setText("5");
    pick(2, "grouping", "XOR");
    pick(3, "parameter", "Current Wind Speed");
    pick(3, "check type", "Trending");
    FindField<QLineEdit>(&page, "Row 3 value 1")->setText("10");
    FindField<QLineEdit>(&page, "Row 3 value 2")->setText("25");
    FindField<QLineEdit>(&page, "Row 3 minutes")->setText("30");
    sim.ClearLines();
    ASSERT_TRUE(page.StoreAndSend()) << (messages.Texts().empty() ? "" : messages.Texts()[0]);
    const Lines form = OutputWrite(sim.Lines());
    LinkClose();
    EXPECT_EQ(form, (Lines{"MOD15 1\n", "MOD16 1 17 7 25\n", "MOD17 1 17 65441\n", "MOD16 1 19 4 30\n",
                           "MOD17 1 19 10 25\n", "MOD18 1 2\n"}));

    // The same rows in the backup, restored onto the module as it was.
    std::istringstream in(dir.ReadFile("b.txt"));
    std::string error;
    std::optional<BackupContent> content = ParseBackup(in, error);
    ASSERT_TRUE(content) << error;
    content->outputs[1].rows = page.Rows();
    dir.WriteFile("b.txt", FormatBackup(*content, {}));
    sim.SetConditions(1, held, 2);
    sim.ClearLines();
    ASSERT_EQ(RunCli({"restore", "b.txt", "--yes"}, out, err), kCliDone) << err.str();
    EXPECT_EQ(OutputWrite(sim.Lines()), form);
    ExtraSensors().Clear();
    SetAomUnits({});
}

}  // namespace
