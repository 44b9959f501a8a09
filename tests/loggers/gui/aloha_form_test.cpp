// The ALOHA Configuration form against the simulated logger: the checks of
// OK in their order, the focus they leave, and the lines the logger gets.

#include "loggers/AlohaSettings.h"
#include "loggers/ui/CAlohaConfigDlg.h"
#include "LoggerFormTest.h"

#include <QLabel>

namespace {

constexpr const char* kTimeoutField = "Time Out Period";
constexpr const char* kStationField = "Station ID #";
constexpr const char* kBadTimeout = "Invalid Timeout Period! Must be between 5 and 255 sec.";
constexpr const char* kBadStation = "Invalid Station ID! Must be between 0 and 999.";

class AlohaForm : public LoggerFormTest {
protected:
    AlohaForm() : LoggerFormTest(SimKind::Aloha) { (shown = &dlg)->show(); }

    CAlohaSettings record{nullptr, "ALOHA   100", "30", "1"};
    CAlohaConfigDlg dlg{nullptr, record};
};

TEST(AlohaLoggerType, IdentificationShownAsVersionInPlainText)
{
    for (auto [identification, shown] :
         {std::pair{"ALOHA   202", "ALOHA  2.02"}, {"ALOHA", "ALOHA"}, {"ALOHA ", "ALOHA  ."}}) {
        CAlohaSettings record(nullptr, identification, "30", "1");
        CAlohaConfigDlg dlg(nullptr, record);
        const QLabel* line = FindField<QLabel>(&dlg, "Logger Type:");
        EXPECT_EQ(line->text().toStdString(), shown);
        EXPECT_EQ(line->textFormat(), Qt::PlainText);  // the device's text, never markup
    }
}

struct OkCase { const char* timeout; const char* station; const char* message; };
void PrintTo(const OkCase& c, std::ostream* os) { *os << "time-out \"" << c.timeout << "\", station \"" << c.station; }

class AlohaOk : public AlohaForm, public ::testing::WithParamInterface<OkCase> {};

TEST_P(AlohaOk, ChecksInOrder)
{
    const OkCase& c = GetParam();
    Set(kTimeoutField, c.timeout);
    Set(kStationField, c.station);
    Click("OK");
    if (!c.message) {  // accepted and written as typed
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(device.Lines(), (Lines{"\n", std::string("MOD01 ") + c.timeout + "\n",
                                         std::string("MOD02 ") + c.station + "\n"}));
        EXPECT_EQ(record.timeout + "/" + record.stationId, std::string(c.timeout) + "/" + c.station);
        return;
    }
    EXPECT_EQ(messages.Texts(), (Lines{c.message}));
    EXPECT_EQ(messages.Shown()[0].caption, std::nullopt);
    const bool station = c.message == std::string(kBadStation);
    EXPECT_EQ(dlg.focusWidget(), FindField(&dlg, station ? kStationField : kTimeoutField));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(device.Lines().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, AlohaOk,
    ::testing::Values(OkCase{"4", "1", kBadTimeout}, OkCase{"256", "1", kBadTimeout}, OkCase{"5", "0", nullptr},
                      OkCase{"255", "999", nullptr}, OkCase{"30-", "5", nullptr},  // the logger reads 30
                      OkCase{"45", "1000", kBadStation}, OkCase{"45", "-1", kBadStation},
                      OkCase{"4", "1000", kBadTimeout}));

TEST_F(AlohaForm, DefaultFillsFiveAndOneAndCancelWritesNothing)
{
    Set(kTimeoutField, "200");
    Set(kStationField, "800");
    Click("Default");
    EXPECT_EQ(Text(kTimeoutField) + "/" + Text(kStationField), "5/1");
    EXPECT_TRUE(dlg.isVisible());
    Click("Cancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(device.Lines().empty());
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(record.timeout + "/" + record.stationId, "30/1");
}

}  // namespace
