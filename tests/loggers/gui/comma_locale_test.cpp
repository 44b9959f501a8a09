// Numbers keep a point as decimal mark whatever the process's locale: the
// same irrigation logger, detected and written under "C" and under a
// comma-decimal locale set in-process (as Qt sets the user's at start-up),
// gets the same bytes, and the form shows and checks the same texts.

#include "loggers/ui/CIrrigationConfigDlg.h"
#include "loggers/IrrigationSettings.h"
#include "detect/LoggerDetection.h"
#include "LoggerFormTest.h"

#include <clocale>

namespace {

// The process's locale set for the object's life; `set`: it is installed.
struct ProcessLocale {
    explicit ProcessLocale(const char* name)
        : saved(std::setlocale(LC_ALL, nullptr)), set(std::setlocale(LC_ALL, name)) {}
    ~ProcessLocale() { std::setlocale(LC_ALL, saved.c_str()); }
    const std::string saved;
    const bool set;
};

class CommaLocale : public LoggerFormTest, public ::testing::WithParamInterface<const char*> {
protected:
    CommaLocale() : LoggerFormTest(SimKind::Irr, "IRRIGATION_RAIN_UNIT=1\n") {}
};

TEST_P(CommaLocale, IrrigationDetectedShownCheckedAndWrittenWithAPoint)
{
    ProcessLocale locale(GetParam());
    if (!locale.set) GTEST_SKIP() << GetParam() << " is not installed (localedef)";
    // The logger holds the simulator's irrigation defaults (cut-off 50, daily
    // rain 150 hundredths of an inch ...), which the write below gives back.
    auto record = DetectAndReadLogger(nullptr);
    auto* irrigation = dynamic_cast<CIrrigationSettings*>(record.get());
    ASSERT_NE(irrigation, nullptr);
    ASSERT_EQ(OpenLink(1, 19200), 0);
    device.ClearLines();
    CIrrigationConfigDlg form(nullptr, *irrigation);
    (shown = &form)->show();
    EXPECT_EQ(Text("Maximum Effective Daily Rain") + " " + Text("Rain Rate Cut-Off"), "1.50 0.50");

    Click("mm");
    EXPECT_EQ(Text("Rain Rate Cut-Off"), "12.7");
    Set("Irrigation Amount", "253.75");
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{"Invalid Irrigation Amount! Must be between 0.00 and 253.75"}));
    Set("Irrigation Amount", "25.4");
    Click("inches");
    Click("OK");
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n", "MOD06 1\n", "MOD07 0\n",
                                     "MOD08 3\n", "MOD10 50\n", "MOD25 100\n", "MOD26 150\n", "MOD27 300\n"}));
}

INSTANTIATE_TEST_SUITE_P(Locales, CommaLocale, ::testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "de_DE"); });

}  // namespace
