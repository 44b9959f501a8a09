// One output's conditions page against a simulated module: what it loads into
// which rows, how rows pair up and share one operator while the user picks,
// and the lines a store and send puts on the wire.

#include "aom/AlarmParameterTable.h"
#include "cli/BackupFile.h"
#include "cli/CorvaneCli.h"
#include "aom/ui/CAomConditionsPage.h"
#include "base/ui/CNumericEdit.h"
#include "settings/SettingsKeys.h"
#include "../../loggers/gui/LoggerFormTest.h"

#include <QComboBox>
#include <QLabel>

#include <sstream>

namespace {

constexpr AomUnitSettings kFahrenheit{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
const Lines kTemperatures{"Outside Temperature", "Outside Dewpoint", "Wind Chill", "Outside Heat Index",
                          "Inside Temperature",  "Inside Dewpoint",  "Inside Heat Index"};
const Lines kGeLe{"Greater Than or =", "Less Than or ="};

class ConditionsPage : public LoggerFormTest {
protected:
    ConditionsPage() : LoggerFormTest(SimKind::Aom) {}
    ~ConditionsPage() override { SetAomUnits({}); }

    // The page of output 1 created on what the module holds.
    void Open(const std::string& conditions, int logic = 1)
    {
        device.SetConditions(0, conditions, logic), SetAomUnits(kFahrenheit);
        page = std::make_unique<CAomConditionsPage>(0);
        page->SetSettings(&record), page->Create(), page->show();
    }
    // Controls by their accessible names, "Row 3 check type" and the like.
    template <class T = QComboBox>
    T* List(int row, const char* what) { return FindField<T>(page.get(), QString("Row %1 %2").arg(row).arg(what)); }
    CNumericEdit* Value(int row, const char* what = "value 1") { return List<CNumericEdit>(row, what); }
    std::string Shown(int row, const char* what) { return List(row, what)->currentText().toStdString(); }
    Lines Items(int row, const char* what)
    {
        Lines items(static_cast<std::size_t>(List(row, what)->count()));
        for (int i = 0; i < int(items.size()); ++i) items[std::size_t(i)] = List(row, what)->itemText(i).toStdString();
        return items;
    }
    // Picks by the user; a row filled parameter, check type, value, each skipped when empty.
    void Pick(int row, const char* what, const char* text)
    {
        const int index = List(row, what)->findText(text);
        ASSERT_GE(index, 0) << what << " " << text;
        List(row, what)->setCurrentIndex(index);
        emit List(row, what)->activated(index);
    }
    void Type(int row, const char* text, const char* what = "value 1") { Value(row, what)->setText(text); }
    void Fill(int row, const char* parameter, const char* check, const char* value = "")
    {
        if (*parameter) Pick(row, "parameter", parameter);
        if (*check) Pick(row, "check type", check);
        if (*value) Type(row, value);
    }
    bool Idle(int row) { return !List(row, "parameter")->isEnabled() && Shown(row, "parameter").empty(); }
    std::string Sent()
    {
        device.ClearLines();
        EXPECT_TRUE(page->StoreAndSend());
        return device.Conditions(0);
    }

    CAomSettings record{nullptr, "AOM     100", "30", true};
    std::unique_ptr<CAomConditionsPage> page;
};

TEST_F(ConditionsPage, EmptyReplyLeavesAllRowsEmptyAfterQueryingConditionsAndOperator)
{
    Open("", 2);
    EXPECT_EQ(device.ModuleLines(), (Lines{"MOD16 0 |\n", "MOD18 0 |\n"}));
    EXPECT_EQ(page->CountUsedRows(), 0);
    EXPECT_FALSE(page->HasChanged());
    EXPECT_FALSE(page->ReadFailed());  // an empty line is the module's "no conditions"
    EXPECT_TRUE(List(1, "parameter")->isEnabled());
    for (int row = 2; row <= 8; ++row) EXPECT_TRUE(Idle(row)) << row;
}

TEST_F(ConditionsPage, RowEightNeverOffersMinusAndMinusOnRowSevenMakesItTheSecondOperand)
{
    Open("17 0 500;17 0 500;17 0 500;17 0 500;17 0 500;17 0 500;17 0 500;17 0 500");
    EXPECT_EQ(page->CountUsedRows(), 8);
    EXPECT_EQ(List(8, "grouping"), nullptr);
    Pick(8, "parameter", "Inside Temperature");
    EXPECT_EQ(Items(8, "check type"), (Lines{kGeLe[0], kGeLe[1], "Between", "Not Between", "Trending", "=", "Missing"}));
    Pick(7, "check type", "Minus");
    EXPECT_EQ(Items(8, "check type"), kGeLe);
    EXPECT_EQ(Shown(8, "check type") + "|" + Shown(8, "parameter"), "|Inside Temperature");
    EXPECT_EQ(Items(8, "parameter"), kTemperatures);
    EXPECT_FALSE(List(7, "grouping")->isEnabled());
    EXPECT_TRUE(List<QLabel>(7, "IS")->isHidden());
}

TEST_F(ConditionsPage, MinusOnRowThreeNarrowsRowFourAndBetweenThenResetsRowsFourToEight)
{
    Open("17 0 500;18 0 50;17 0 600;19 0 20;17 0 700");
    Pick(3, "check type", "Minus");
    EXPECT_EQ(Value(3)->text(), "");
    EXPECT_FALSE(Value(3)->isEnabled());
    EXPECT_EQ(Items(4, "check type"), kGeLe);
    EXPECT_EQ(Items(4, "parameter"), kTemperatures);
    EXPECT_FALSE(Value(4)->m_bAllowMinus);
    Pick(3, "check type", "Between");
    for (int row = 4; row <= 8; ++row) EXPECT_TRUE(Idle(row)) << row;
    EXPECT_GT(List(4, "parameter")->count(), 7);  // the whole list again
    EXPECT_EQ(Shown(3, "grouping"), "DONE");
    EXPECT_TRUE(Value(3, "value 2")->isEnabled());
}

TEST_F(ConditionsPage, AndOnRowOneOpensRowTwoWithDoneSelectedWhileRowThreeIsIdle)
{
    Open("17 0 500");
    EXPECT_EQ(Items(1, "grouping"), (Lines{"DONE", "OR", "AND", "XOR"}));
    EXPECT_EQ(Shown(1, "grouping"), "DONE");
    Pick(1, "grouping", "AND");
    EXPECT_TRUE(List(2, "parameter")->isEnabled());
    EXPECT_EQ(Items(2, "grouping"), (Lines{"DONE", "AND"}));
    EXPECT_EQ(Shown(1, "grouping") + "|" + Shown(2, "grouping"), "AND|DONE");
    EXPECT_TRUE(Idle(3));
}

// The output's logic from row 1's grouping (a single row is AND whatever the
// module held); Between stores the lower bound first except on wind direction.
TEST_F(ConditionsPage, MasterGroupingGivesTheLogicAndBetweenItsOrder)
{
    const struct { const char *grouping, *parameter, *check; int logic; const char* stored; } cases[] = {
        {"OR", "Outside Humidity", kGeLe[0].c_str(), 0, "17 0 500;18 0 50"},
        {"XOR", "Outside Humidity", kGeLe[0].c_str(), 2, "17 0 500;18 0 50"},
        {nullptr, "Outside Temperature", "Between", 1, "17 2 200 800"},
        {nullptr, "Wind Direction", "Between", 1, "21 2 80 20"},
    };
    for (const auto& c : cases) {
        Open("17 0 500", 0);
        const int row = c.grouping ? 2 : 1;
        if (c.grouping) Pick(1, "grouping", c.grouping);
        Fill(row, c.parameter, c.check, c.grouping ? "50" : "80");
        if (!c.grouping) Type(1, "20", "value 2");
        EXPECT_EQ(Sent(), c.stored) << c.parameter;
        EXPECT_EQ(device.Output(0).logic, c.logic) << (c.grouping ? c.grouping : "single row");
    }
}

TEST_F(ConditionsPage, LessThanDifferenceStoredAsTwosComplementAndLoadsBack)
{
    Open("17 0 500");
    Fill(1, "", "Minus");
    Fill(2, "Inside Temperature", "Less Than or =", "5");
    EXPECT_EQ(Sent(), "17 7 2 65486");
    Open("17 7 2 65486");
    EXPECT_EQ(Shown(1, "check type") + "|" + Shown(2, "parameter") + "|" + Shown(2, "check type") + "|" +
                  Value(2)->text().toStdString(), "Minus|Inside Temperature|Less Than or =|5.0");
    EXPECT_FALSE(page->HasChanged());
    Pick(2, "check type", "Greater Than or =");
    EXPECT_TRUE(page->HasChanged());
    EXPECT_EQ(Sent(), "17 7 2 50");
}

// The operator changed on row 1, or the parameter shown picked again, keeps
// the rows below as they are; a parameter
// that cannot be subtracted frees the row below; a subtraction needs its comparison.
TEST_F(ConditionsPage, OperatorChangeKeepsOpenRowsAndLeavingMinusFreesTheRowBelow)
{
    Open("18 0 50;17 7 2 65486", 1);
    Pick(1, "grouping", "OR");
    Pick(2, "parameter", "Outside Temperature");  // the one shown: nothing changes
    EXPECT_EQ(Shown(3, "check type") + " " + Value(3)->text().toStdString() + " " + Shown(3, "grouping"),
              "Less Than or = 5.0 DONE");
    Pick(3, "check type", "Greater Than or =");
    List(3, "check type")->setCurrentIndex(-1);
    EXPECT_FALSE(page->Validate());
    EXPECT_EQ(messages.Texts(), (Lines{"Please select a check type."}));
    EXPECT_EQ(page->focusWidget(), List(3, "check type"));
    Pick(2, "parameter", "Wind Direction");
    EXPECT_TRUE(Idle(3));
    EXPECT_TRUE(List(2, "grouping")->isEnabled());
}

TEST_F(ConditionsPage, BarTrendRowDoesNotStopTheChecksOfLaterRows)
{
    Open("4 5;17 0 500");
    Type(2, "");
    EXPECT_FALSE(page->Validate());
    ASSERT_EQ(messages.Texts(), (Lines{"Field must have a value."}));
    EXPECT_EQ(messages.Shown()[0].caption, std::optional<std::string>("Error"));
    EXPECT_EQ(page->focusWidget(), Value(2));
}

// The page and corvane-cli restore send the same lines for the same rows:
// Outside Temperature minus the sensor on transmitter 3, "Less Than or =" 5 °F.
TEST_F(ConditionsPage, FormAndCliSendTheSameLinesForTheSameRows)
{
    dir.Settings().SetValue(key::AomStationConfig, "0$22$26$");
    ReadTransmitterList(), RebuildExtraSensorCodes();
    Open("19 4 30 10 25;17 0 500", 2);
    Fill(1, "Outside Temperature", "Minus");
    Fill(2, "Extra Temperature 3", "Less Than or =", "5");
    const Lines form{"MOD15 0\n", "MOD16 0 17 7 25\n", "MOD17 0 17 65441\n", "MOD18 0 1\n"};
    device.ClearLines();
    ASSERT_TRUE(page->StoreAndSend());
    EXPECT_EQ(device.SetLines(), form);
    LinkClose();

    BackupContent file{"AOM", {}, kFahrenheit, {}};
    file.outputs[0] = {true, {{"logic", "AND"}}, page->Rows()};
    dir.WriteFile("b.txt", FormatBackup(file, {}));
    device.SetConditions(0, "19 4 30 10 25;17 0 500", 2);
    device.ClearLines();
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"restore", "b.txt", "--yes"}, out, err), kCliDone) << err.str();
    // The transmitter list is read first (MOD01 lowers the time-out meanwhile).
    const Lines sent = device.SetLines();
    EXPECT_EQ(Lines(std::find(sent.begin(), sent.end(), "MOD23\n") + 1, sent.end()), form);
    ExtraSensors().Clear();
}

// A silent module is a failed read: the page stays closed and is never
// sent, so nobody overwrites conditions that were not seen. Row 1 on a
// parameter the station does not offer: edits below it are not dropped as
// "unchanged", the page asks for the parameter.
TEST_F(ConditionsPage, UnreadOutputStaysUnsentAndUnknownFirstParameterIsAskedFor)
{
    device.SetFault(SimFault::DropReplies);
    Open("17 0 500");
    device.ClearFaults();
    EXPECT_TRUE(page->ReadFailed());
    EXPECT_FALSE(List(1, "parameter")->isEnabled());
    device.ClearLines();
    EXPECT_TRUE(page->ApplyIfChanged());
    EXPECT_TRUE(device.ModuleLines().empty());
    EXPECT_EQ(device.Conditions(0), "17 0 500");

    Open("99 0 5;17 0 500");
    Type(2, "60");
    EXPECT_TRUE(page->HasChanged());
    device.ClearLines();
    EXPECT_FALSE(page->ApplyIfChanged());
    EXPECT_EQ(messages.Texts(), (Lines{"Please select a parameter."}));
    EXPECT_EQ(page->focusWidget(), List(1, "parameter"));
    EXPECT_TRUE(device.ModuleLines().empty());
}

TEST_F(ConditionsPage, ClearLeavesRowOnesGroupingOpenOnDone)
{
    Open("17 0 500;18 0 50");
    FindButton(page.get(), "Clear")->click();
    EXPECT_EQ(device.Conditions(0), "");
    EXPECT_TRUE(List(1, "grouping")->isEnabled());
    EXPECT_EQ(Shown(1, "grouping"), "DONE");
    EXPECT_TRUE(Idle(2));
}

// Conditions of every shape: a subtraction, a trend, a range, a time and a
// dew point whose tenths the display hides, XOR. Values not edited go back
// as the module held them (655, not the 660 of the "66" shown).
TEST_F(ConditionsPage, ApplySendsTheWholeOutputByteForByteAndStaysChanged)
{
    Open("17 7 129 65516;19 4 30 10 25;3 3 20 60;128 2 730 1805;129 0 655", 2);
    EXPECT_EQ(page->CountUsedRows(), 6);
    EXPECT_EQ(Value(6)->text(), "66");
    EXPECT_EQ(Shown(2, "grouping") + Shown(4, "grouping") + Shown(6, "grouping"), "XORXORDONE");
    EXPECT_EQ(Value(5)->text() + " " + Value(5, "value 2")->text(), "7:30 18:05");
    device.ClearLines();
    EXPECT_TRUE(page->ApplyIfChanged());
    EXPECT_TRUE(device.ModuleLines().empty());  // unchanged: nothing sent

    Type(4, "10");
    int signalled = 0;
    QObject::connect(page.get(), &CAomConditionsPage::UsedRowsChanged, [&] { ++signalled; });
    device.ClearLines();
    pauses.Clear();
    EXPECT_TRUE(page->ApplyIfChanged());
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD15 0\n", "\n", "MOD16 0 17 7 129\n", "MOD17 0 17 65516\n",
                                     "MOD16 0 19 4 30\n", "MOD17 0 19 10 25\n", "MOD16 0 3 3\n", "MOD17 0 3 10 60\n",
                                     "MOD16 0 128 2\n", "MOD17 0 128 0730 1805\n", "MOD16 0 129 0\n",
                                     "MOD17 0 129 655\n", "MOD18 0 2\n"}));
    std::vector<int> durations(13, 100);
    durations.front() = durations.back() = 1000;
    EXPECT_EQ(pauses.Durations(), durations);
    EXPECT_EQ(signalled, 1);
    EXPECT_TRUE(page->HasChanged());
}

}  // namespace
