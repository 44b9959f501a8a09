// The "Choose Units" and "Station Configuration" forms: what they show of
// the stored settings and what they store.
#include "AomUnits.h"
#include "CAomStationConfigDlg.h"
#include "CAomUnitsDlg.h"
#include "FormFinder.h"
#include "SettingsKeys.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

void Click(QWidget* dlg, const QString& text)
{
    QAbstractButton* button = FindButton(dlg, text);
    ASSERT_NE(button, nullptr) << text.toStdString();
    button->click();
}

template <class Button>
std::string Checked(QWidget* dlg)
{
    QStringList checked;
    for (Button* button : dlg->findChildren<Button*>())
        if (button->isChecked()) checked << button->text();
    return checked.join(",").toStdString();
}

TEST(UnitsForm, StoredCodesLoadedAndShownWithTheirFallbacks)
{
    // Out of the lists, temperature and rain load as the metric unit but show as the other.
    const struct { const char *temp, *bar, *wind, *rain, *shown; AomUnitSettings loaded; } cases[] = {
        {"4", "6", "10", "2", "\u00b0C,hPa,m/s,mm",
         {UnitCelsius, UnitHectopascal, UnitMetresPerSecond, UnitMillimetre}},
        {"3", "2", "8", "1", "\u00b0F,mm,knot,in", {UnitFahrenheit, UnitMillimetre, UnitKnots, UnitInch}},
        {"", "3", "11", "x", "\u00b0F,in,mph,in", {UnitCelsius, UnitInch, UnitMph, UnitMillimetre}},
    };
    for (const auto& c : cases) {
        TempWorkDir dir;
        dir.Settings().SetValue(key::AomTempUnit, c.temp);
        dir.Settings().SetValue(key::AomBarUnit, c.bar);
        dir.Settings().SetValue(key::AomWindUnit, c.wind);
        dir.Settings().SetValue(key::AomRainUnit, c.rain);
        LoadAomUnitSettings();
        const AomUnitSettings& u = AomUnits();
        EXPECT_EQ(std::tie(u.temperature, u.barometer, u.wind, u.rain),
                  std::tie(c.loaded.temperature, c.loaded.barometer, c.loaded.wind, c.loaded.rain));
        CAomUnitsDlg dlg(nullptr);
        EXPECT_EQ(dlg.windowTitle(), "Choose Units");
        EXPECT_EQ(Checked<QRadioButton>(&dlg), c.shown) << c.shown;
    }
    SetAomUnits({});
}

TEST(UnitsForm, OkStoresTheShownCodesAndReloads)
{
    // Empty temperature and rain show °F and inches but load as metric until OK stores them.
    TempWorkDir dir;
    CAomUnitsDlg dlg(nullptr);
    Click(&dlg, "mb");
    Click(&dlg, "km/h");
    Click(&dlg, "OK");
    EXPECT_EQ(dir.Settings().GetValue(key::AomTempUnit), "3");
    EXPECT_EQ(dir.Settings().GetValue(key::AomBarUnit), "5");
    EXPECT_EQ(dir.Settings().GetValue(key::AomWindUnit), "9");
    EXPECT_EQ(dir.Settings().GetValue(key::AomRainUnit), "1");
    const AomUnitSettings& u = AomUnits();
    EXPECT_EQ(std::tie(u.temperature, u.barometer, u.wind, u.rain),
              std::make_tuple(UnitFahrenheit, UnitMillibar, UnitKph, UnitInch));
    SetAomUnits({});
}

class StationForm : public ::testing::Test {
protected:
    void Stored(const char* value) { dir.Settings().SetValue(key::AomStationConfig, value); }
    std::string Saved() { return dir.Settings().GetValue(key::AomStationConfig); }
    static QComboBox* Model(QWidget* dlg) { return FindField<QComboBox>(dlg, "Model:"); }

    TempWorkDir dir;
};

TEST_F(StationForm, StoredValueShownAndSavedInWritingOrder)
{
    // Shown: model, checked boxes, enabled; then a model picked (-1 none), a
    // box clicked, the button pressed, and what the settings hold after.
    const struct { const char* stored; int model; const char* checked; bool enabled; int pick;
                   const char *click, *button, *saved; } cases[] = {
        {"0$22$23$", 0, "UV,Solar Radiation", true, -1, "", "OK", "0$23$22$"},
        {"1$1000$50$", 1, "Temp 8", true, -1, "Humidity 8", "OK", "1$1000$1001$"},
        {"1$1000$", 1, "Temp 8", true, -1, "UV", "Cancel", "1$1000$"},
        {"", 0, "", true, -1, "", "OK", "0$"},
        // An unknown model leaves the boxes disabled until one is picked.
        {"5$23$", -1, "UV", false, -1, "", "OK", "-1$"},
        {"5$23$", -1, "UV", false, 1, "", "OK", "1$23$"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Stored(c.stored);
        CAomStationConfigDlg dlg(nullptr);
        EXPECT_EQ(dlg.windowTitle(), "Station Configuration");
        EXPECT_EQ(Model(&dlg)->itemText(0) + "|" + Model(&dlg)->itemText(1), "Tarrow|Tarrow Plus");
        EXPECT_EQ(dlg.findChildren<QCheckBox*>().size(), 30);
        EXPECT_EQ(Model(&dlg)->currentIndex(), c.model);
        EXPECT_EQ(Checked<QCheckBox>(&dlg), c.checked);
        for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) EXPECT_EQ(box->isEnabled(), c.enabled);
        if (c.pick >= 0) Model(&dlg)->setCurrentIndex(c.pick);
        if (*c.click) Click(&dlg, c.click);
        EXPECT_TRUE(FindButton(&dlg, "Temp 1")->isEnabled() || c.pick < 0);
        Click(&dlg, c.button);
        EXPECT_EQ(Saved(), c.saved);
    }
}

}  // namespace
