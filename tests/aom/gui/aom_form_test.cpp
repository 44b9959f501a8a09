// "Alarm Output Module" on corvane-sim: what it loads, the first showing,
// OK's order of writes and the "Station Config" button.

#include "AlarmParameterTable.h"
#include "AomSettings.h"
#include "CAomConditionsPage.h"
#include "CAomDlg.h"
#include "CAomOutputTabCtrl.h"
#include "FormSupport.h"
#include "Pause.h"
#include "SettingsKeys.h"
#include "../../loggers/gui/LoggerFormTest.h"

#include <QComboBox>

namespace {

class AomForm : public LoggerFormTest {
protected:
    AomForm()
        : LoggerFormTest(SimKind::Aom, "AOM_FIRST_USE=1\nAOM_TEMP_UNIT=3\nAOM_RAIN_UNIT=1\n"
                                       "AOM_WIND_UNIT=7\nAOM_STATION_CONFIG=0$\n")
    {
        previous_ = SetFormRunner([this](QDialog& dlg) {
            childForms.push_back(dlg.windowTitle().toStdString());
            return int(QDialog::Rejected);
        });
    }
    ~AomForm() override { SetFormRunner(previous_); }
    void Open()
    {
        form = std::make_unique<CAomDlg>(nullptr, record);
        (shown = form.get())->show();
    }
    // A row's control on an output's page: "Row 3 parameter", "Row 3 value 1".
    template <class T>
    T* Row(int output, int row, const char* what)
    {
        return FindField<T>(form->Tabs()->Page(output), QString("Row %1 %2").arg(row).arg(what));
    }
    std::string Shows(int output, int row, const char* what)
    {
        auto* list = Row<QComboBox>(output, row, what);
        return (list ? list->currentText() : Row<QLineEdit>(output, row, what)->text()).toStdString();
    }
    void SetValue(int output, const char* text) { Row<QLineEdit>(output, 1, "value 1")->setText(text); }

    CAomSettings record{nullptr, "AOM     100", "60", true};
    std::unique_ptr<CAomDlg> form;
    Lines childForms;

private:
    FormRunner previous_;
};

TEST_F(AomForm, LoadsTheTransmittersAndEveryOutputIntoItsRows)
{
    ExtraSensors().Clear();
    Open();
    EXPECT_EQ(ExtraSensors().TemperatureCode(3), 25);  // the sim's transmitter 3
    EXPECT_EQ(device.Param(1), "60");                  // lowered meanwhile, restored
    EXPECT_EQ(form->Tabs()->tabText(3) + " " + Text("Time Out Period"), "Output 4 60");
    const struct { int output, row; const char* shows; } rows[] = {
        {0, 1, "Outside Temperature|Greater Than or =|85.0"}, {0, 2, "Inside Temperature|Less Than or =|60.0"},
        {1, 1, "Daily Rain|Greater Than or =|0.50"},          {1, 2, "Current Wind Speed|Trending|10"},
        {2, 1, "Outside Temperature|Minus|"},                 {2, 2, "Outside Dewpoint|Greater Than or =|5"},
        {3, 1, "Outside Humidity|Greater Than or =|90"},      {3, 2, "Time|Between|7:00"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Shows(r.output, r.row, "parameter") + "|" + Shows(r.output, r.row, "check type") + "|" +
                      Shows(r.output, r.row, "value 1"), r.shows) << r.output << r.row;
    EXPECT_EQ(Shows(0, 1, "grouping") + Shows(1, 1, "grouping") + Shows(3, 1, "grouping"), "ORXORAND");
    EXPECT_TRUE(childForms.empty());
}

TEST_F(AomForm, OnlyExactlyZeroOpensTheStationFormFirstThenOneIsStored)
{
    for (const std::string stored : {"1", "00", "", "0"}) {
        dir.Settings().SetValue(key::AomFirstUse, stored);
        childForms.clear();
        Open();
        const bool first = stored == "0";
        EXPECT_EQ(childForms, first ? Lines{"Station Configuration"} : Lines{}) << stored;
        EXPECT_EQ(dir.Settings().GetValue(key::AomFirstUse), first ? "1" : stored);
    }
}

// Without a changed output OK writes the module settings only, as typed.
TEST_F(AomForm, TimeOutFiveTo999ThenLoggingFlag)
{
    Open();
    Click("Enable Alarm Logging");
    for (const char* text : {"4", "1000", "", "5", "999", "60-"}) {
        device.ClearLines();
        messages.Clear();
        Set("Time Out Period", text);
        Click("OK");
        const int value = std::atoi(text);
        const bool accepted = *text && value >= 5 && value <= 999;
        EXPECT_EQ(messages.Texts(),
                  accepted ? Lines{} : Lines{"Invalid Timeout Period! Must be between 5 and 999 sec."}) << text;
        const Lines sent{"\n", std::string("MOD01 ") + text + "\n", "MOD24 0\n"};
        EXPECT_EQ(device.Lines(), accepted ? sent : Lines{}) << text;
    }
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(AomForm, OkWarnsThenClearsTheLogAndSendsOnlyTheChangedOutput)
{
    Open();
    SetValue(1, "0.60");
    device.ClearLines();
    messages.AnswerNext(MsgAnswer::Cancel);
    Click("OK");  // the module settings are written; Cancel on the warning stops there
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD24 1\n"}));
    EXPECT_EQ(form->result(), QDialog::Rejected);
    device.ClearLines();
    pauses.Clear();
    Click("OK");
    const auto shown = messages.Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(std::tie(shown[1].text, shown[1].caption, shown[1].icon, shown[1].buttons),
              std::tuple("This operation will clear your Alarm Event Log", std::optional<std::string>("Please Note"),
                         MsgIcon::Exclamation, MsgButtons::OkCancel));
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD24 1\n", "\n", "MOD23\n", "\n", "MOD15 1\n", "\n",
                                     "MOD16 1 10 0\n", "MOD17 1 10 60\n", "MOD16 1 19 4 30\n",
                                     "MOD17 1 19 10 25\n", "MOD18 1 2\n"}));
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{1000, 100, 100, 100, 100, 100, 1000}));
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(AomForm, FailingOutputSelectsItsTabAndLaterOutputsAreNotTried)
{
    Open();
    SetValue(0, "86");
    SetValue(1, "0.60");
    SetValue(3, "95");
    device.ClearLines();
    // The module refuses every write once output 1 has been applied.
    int longPauses = 0;
    const PauseFunction previous = SetPauseFunction([&](int ms) {
        if (ms == 1000 && ++longPauses == 2) device.SetFault(SimFault::ErrorSets);
    });
    Click("OK");
    SetPauseFunction(previous);
    EXPECT_EQ(messages.Texts().back(), "Failed to set configuration in the module for output 2.  \n\t\tPlease "
                                       "check Serial Port settings and connections.");
    EXPECT_EQ(form->Tabs()->currentIndex(), 1);
    const Lines lines = device.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "MOD18 0 0\n"), lines.end());
    EXPECT_EQ(lines.back(), "MOD15 1\n");
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

// Output 4 is refused: neither the module settings, the log nor output 1 is touched.
TEST_F(AomForm, RefusedOutputStopsOkBeforeAnythingIsWritten)
{
    Open();
    SetValue(0, "86");
    SetValue(3, "101");
    device.ClearLines();
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{"101 is not a valid entry!"}));
    EXPECT_EQ(form->Tabs()->currentIndex(), 3);
    EXPECT_TRUE(device.ModuleLines().empty());
}

TEST_F(AomForm, StationConfigOnlyWhileNoRowOfAnyOutputIsUsed)
{
    Open();
    QAbstractButton* stationConfig = FindButton(form.get(), "Station Config");
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(stationConfig->isEnabled()) << k;
        FindButton(form->Tabs()->Page(k), "Clear")->click();
    }
    EXPECT_TRUE(stationConfig->isEnabled());
}

TEST_F(AomForm, ClearLogsAtOnceInUntitledBoxes)
{
    Open();
    Click("Clear Logs");
    EXPECT_TRUE(device.Alarms().empty());
    device.SetFault(SimFault::ErrorSets);
    Click("Clear Logs");
    std::string shown;
    for (const UserMessage& m : messages.Shown())
        shown += m.text + (m.caption == std::optional<std::string>("") ? "" : " titled") +
                 (m.icon == MsgIcon::Information ? " (i)" : m.icon == MsgIcon::Error ? " (x)" : "") + "|";
    EXPECT_EQ(shown, "Logs Cleared! (i)|Logs clearing failed! (x)|");
}

}  // namespace
