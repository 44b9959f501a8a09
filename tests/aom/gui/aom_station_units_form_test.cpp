// The "Choose Units" and "Station Configuration" forms, and the combo box
// adapter the alarm tables fill.
#include "AlarmParameterTable.h"
#include "AomComboChoiceList.h"
#include "CAomStationConfigDlg.h"
#include "CAomUnitsDlg.h"
#include "DesktopOpen.h"
#include "FormFinder.h"
#include "SettingsKeys.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

QAbstractButton* InGroup(QWidget* dlg, const QString& title, const QString& text)
{
    for (QGroupBox* group : dlg->findChildren<QGroupBox*>())
        if (group->title() == title) return FindButton(group, text);
    return nullptr;
}

void Click(QWidget* dlg, const QString& text)
{
    QAbstractButton* button = FindButton(dlg, text);
    ASSERT_NE(button, nullptr) << text.toStdString();
    button->click();
}

// Records what the Help buttons hand to the desktop.
class OpenedFiles {
public:
    OpenedFiles()
        : previous_(SetDesktopOpener([this](const std::string& target, bool) {
              opened.push_back(std::filesystem::path(target).filename().string());
              return OpenResult{true, {}};
          }))
    {
    }
    ~OpenedFiles() { SetDesktopOpener(previous_); }
    std::vector<std::string> opened;

private:
    DesktopOpener previous_;
};

struct UnitsCase {
    const char *temp, *bar, *wind, *rain;
    const char *shownTemp, *shownBar, *shownWind, *shownRain;
};

class UnitsFormShowing : public ::testing::TestWithParam<UnitsCase> {};

TEST_P(UnitsFormShowing, ChecksOneButtonPerGroup)
{
    const UnitsCase& c = GetParam();
    TempWorkDir dir;
    dir.Settings().SetValue(key::AomTempUnit, c.temp);
    dir.Settings().SetValue(key::AomBarUnit, c.bar);
    dir.Settings().SetValue(key::AomWindUnit, c.wind);
    dir.Settings().SetValue(key::AomRainUnit, c.rain);
    CAomUnitsDlg dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), "Choose Units");
    const struct {
        const char* group;
        const char* shown;
    } groups[] = {{"Temperature", c.shownTemp}, {"Barometer", c.shownBar},
                  {"Wind Speed", c.shownWind}, {"Rain", c.shownRain}};
    for (const auto& g : groups) {
        SCOPED_TRACE(g.group);
        QAbstractButton* shown = InGroup(&dlg, g.group, QString::fromUtf8(g.shown));
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isChecked());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitsFormShowing,
    ::testing::Values(UnitsCase{"4", "6", "10", "2", "\u00b0C", "hPa", "m/s", "mm"},
                      UnitsCase{"3", "2", "8", "1", "\u00b0F", "mm", "knot", "in"},
                      UnitsCase{"3", "5", "9", "1", "\u00b0F", "mb", "km/h", "in"},
                      UnitsCase{"", "3", "11", "", "\u00b0F", "in", "mph", "in"}));

TEST(UnitsForm, OutOfListWindLoadsAndShowsMph)
{
    TempWorkDir dir;
    dir.Settings().SetValue(key::AomWindUnit, "11");
    LoadAomUnitSettings();
    EXPECT_EQ(AomUnits().wind, UnitMph);
    CAomUnitsDlg dlg(nullptr);
    EXPECT_TRUE(InGroup(&dlg, "Wind Speed", "mph")->isChecked());
    SetAomUnits({});
}

TEST(UnitsForm, OkStoresTheCheckedCodesAndReloads)
{
    TempWorkDir dir;
    CAomUnitsDlg dlg(nullptr);
    InGroup(&dlg, "Temperature", QString::fromUtf8("\u00b0F"))->click();
    InGroup(&dlg, "Barometer", "mb")->click();
    InGroup(&dlg, "Wind Speed", "km/h")->click();
    InGroup(&dlg, "Rain", "mm")->click();
    Click(&dlg, "OK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dir.Settings().GetValue(key::AomTempUnit), "3");
    EXPECT_EQ(dir.Settings().GetValue(key::AomBarUnit), "5");
    EXPECT_EQ(dir.Settings().GetValue(key::AomWindUnit), "9");
    EXPECT_EQ(dir.Settings().GetValue(key::AomRainUnit), "2");
    EXPECT_EQ(AomUnits().temperature, UnitFahrenheit);
    EXPECT_EQ(AomUnits().barometer, UnitMillibar);
    EXPECT_EQ(AomUnits().wind, UnitKph);
    EXPECT_EQ(AomUnits().rain, UnitMillimetre);
    SetAomUnits({});
}

TEST(UnitsForm, OkMakesFormAndSettingsAgree)
{
    // An empty temperature shows °F but loads as °C until OK stores it.
    TempWorkDir dir;
    CAomUnitsDlg dlg(nullptr);
    Click(&dlg, "OK");
    EXPECT_EQ(dir.Settings().GetValue(key::AomTempUnit), "3");
    EXPECT_EQ(dir.Settings().GetValue(key::AomRainUnit), "1");
    EXPECT_EQ(AomUnits().temperature, UnitFahrenheit);
    SetAomUnits({});
}

TEST(UnitsForm, CancelStoresNothingAndHelpOpensItsFile)
{
    TempWorkDir dir;
    dir.WriteFile("AOMSelectUnitsHelp.txt", "help");
    OpenedFiles files;
    CAomUnitsDlg dlg(nullptr);
    InGroup(&dlg, "Rain", "mm")->click();
    Click(&dlg, "Help");
    Click(&dlg, "Cancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dir.Settings().GetValue(key::AomRainUnit), "");
    EXPECT_EQ(files.opened, (std::vector<std::string>{"AOMSelectUnitsHelp.txt"}));
}

QCheckBox* Box(QWidget* dlg, const QString& caption)
{
    return qobject_cast<QCheckBox*>(FindButton(dlg, caption));
}

QStringList CheckedBoxes(QWidget* dlg)
{
    QStringList checked;
    for (QCheckBox* box : dlg->findChildren<QCheckBox*>())
        if (box->isChecked()) checked << box->text();
    checked.sort();
    return checked;
}

class StationForm : public ::testing::Test {
protected:
    void Stored(const char* value) { dir.Settings().SetValue(key::AomStationConfig, value); }
    std::string Saved() { return dir.Settings().GetValue(key::AomStationConfig); }
    static QComboBox* Model(QWidget* dlg) { return FindField<QComboBox>(dlg, "Model:"); }

    TempWorkDir dir;
};

TEST_F(StationForm, Layout)
{
    CAomStationConfigDlg dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), "Station Configuration");
    ASSERT_NE(Model(&dlg), nullptr);
    ASSERT_EQ(Model(&dlg)->count(), 2);
    EXPECT_EQ(Model(&dlg)->itemText(0), "Tarrow");
    EXPECT_EQ(Model(&dlg)->itemText(1), "Tarrow Plus");
    ASSERT_NE(dlg.findChild<QGroupBox*>(), nullptr);
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), "Accessories");
    EXPECT_EQ(dlg.findChildren<QCheckBox*>().size(), 30);
    for (const char* b : {"OK", "Cancel", "Help", "Solar Radiation", "UV", "Temp 8", "Humidity 8",
                          "Leaf Wetness 2", "Soil Moisture 4", "Leaf Temperature 1",
                          "Soil Temperature 3"})
        EXPECT_NE(FindButton(&dlg, b), nullptr) << b;
}

TEST_F(StationForm, StoredOrderShownAndWrittenInFormOrder)
{
    Stored("0$22$23$");
    CAomStationConfigDlg dlg(nullptr);
    EXPECT_EQ(Model(&dlg)->currentText(), "Tarrow");
    EXPECT_EQ(CheckedBoxes(&dlg), (QStringList{"Solar Radiation", "UV"}));
    for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) EXPECT_TRUE(box->isEnabled());
    Click(&dlg, "OK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Saved(), "0$23$22$");
}

TEST_F(StationForm, EighthSensorCodesCheckTheirBoxesAndUnknownCodesNothing)
{
    Stored("1$1000$50$");
    CAomStationConfigDlg dlg(nullptr);
    EXPECT_EQ(Model(&dlg)->currentText(), "Tarrow Plus");
    EXPECT_EQ(CheckedBoxes(&dlg), (QStringList{"Temp 8"}));
    Box(&dlg, "Humidity 8")->setChecked(true);
    Click(&dlg, "OK");
    EXPECT_EQ(Saved(), "1$1000$1001$");
}

TEST_F(StationForm, EveryBoxWrittenInWritingOrder)
{
    Stored("1$");
    CAomStationConfigDlg dlg(nullptr);
    for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) box->click();
    Click(&dlg, "OK");
    EXPECT_EQ(Saved(),
              "1$23$24$25$26$27$28$29$30$1000$22$46$47$48$49$40$41$42$43$38$39$44$45$31$32$33$"
              "34$35$36$37$1001$");
}

TEST_F(StationForm, EmptyValueSelectsFirstModel)
{
    CAomStationConfigDlg dlg(nullptr);
    EXPECT_EQ(Model(&dlg)->currentIndex(), 0);
    EXPECT_TRUE(Box(&dlg, "UV")->isEnabled());
    Click(&dlg, "OK");
    EXPECT_EQ(Saved(), "0$");
}

TEST_F(StationForm, UnknownModelKeepsBoxesDisabledUntilAModelIsPicked)
{
    Stored("5$23$");
    {
        CAomStationConfigDlg dlg(nullptr);
        EXPECT_EQ(Model(&dlg)->currentIndex(), -1);
        EXPECT_TRUE(Box(&dlg, "UV")->isChecked());
        EXPECT_FALSE(Box(&dlg, "UV")->isEnabled());
        Click(&dlg, "OK");
        EXPECT_EQ(Saved(), "-1$");
    }
    Stored("5$23$");
    CAomStationConfigDlg dlg(nullptr);
    Model(&dlg)->setCurrentIndex(1);
    EXPECT_TRUE(Box(&dlg, "Temp 1")->isEnabled());
    EXPECT_TRUE(Box(&dlg, "UV")->isChecked());
    Click(&dlg, "OK");
    EXPECT_EQ(Saved(), "1$23$");
}

TEST_F(StationForm, CancelStoresNothingAndHelpOpensItsFile)
{
    Stored("0$22$");
    dir.WriteFile("AOMStationConfigHelp.txt", "help");
    OpenedFiles files;
    CAomStationConfigDlg dlg(nullptr);
    Box(&dlg, "UV")->setChecked(true);
    Click(&dlg, "Help");
    Click(&dlg, "Cancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(Saved(), "0$22$");
    EXPECT_EQ(files.opened, (std::vector<std::string>{"AOMStationConfigHelp.txt"}));
}

TEST(ComboChoiceListAdapter, BehavesAsTheTablesExpect)
{
    TempWorkDir dir;
    QComboBox combo;
    ComboChoiceList list(&combo);
    FillParameterList(list);
    EXPECT_EQ(combo.count(), 42);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(list.Text(0), "Outside Temperature");

    FillCheckTypeList(list, 17);
    list.Select(FindExact(list, "Trending"));
    FillCheckTypeList(list, 19);
    EXPECT_EQ(combo.currentText(), "Trending");
    FillCheckTypeList(list, 1);
    EXPECT_EQ(combo.currentIndex(), -1);

    list.Select(0);
    list.Remove(0);
    EXPECT_EQ(list.Selected(), -1);
    list.Select(99);
    EXPECT_EQ(list.Selected(), -1);
}

}  // namespace
