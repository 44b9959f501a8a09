// "APRS Configuration" driven like a user: what it shows on opening, the
// live preview, the checks at OK in their order, and what the logger receives.

#include "loggers/ui/CAprsConfigDlg.h"
#include "LoggerFormTest.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace {

constexpr const char* kPosition = "4903.50N/07201.75W_";

class AprsForm : public LoggerFormTest {
protected:
    AprsForm() : LoggerFormTest(SimKind::Aprs) {}
    void Open(const std::string& position, const std::string& baud = "9600")
    {
        record = std::make_unique<CAprsSettings>(nullptr, "APRS    202", "60", baud, position, "5");
        form = std::make_unique<CAprsConfigDlg>(nullptr, *record);
        (shown = form.get())->show();
    }
    bool Checked(const char* button) { return FindButton(shown, button)->isChecked(); }
    bool AnyHemisphere() { return Checked("North") || Checked("South") || Checked("East") || Checked("West"); }
    QString Preview() { return Text("APRS String Latitude") + "/" + Text("APRS String Longitude"); }
    QComboBox* Baud() { return FindField<QComboBox>(form.get(), "APRS Baud Rate"); }

    std::unique_ptr<CAprsSettings> record;
    std::unique_ptr<CAprsConfigDlg> form;
};

TEST_F(AprsForm, StoredPositionOpensSplitAndPreviewRebuildsItUnchanged)
{
    Open(kPosition);
    EXPECT_EQ(FindField<QLabel>(form.get(), "Logger Type:")->text(), "APRS  2.02");
    for (auto [field, shown] : {std::pair{"Latitude Deg", "49"}, {"Latitude Min", "3"}, {"Latitude Sec", "30"},
                                {"Longitude Deg", "72"}, {"Longitude Min", "1"}, {"Longitude Sec", "45"}})
        EXPECT_EQ(Text(field), shown) << field;
    EXPECT_TRUE(Checked("North") && Checked("West") && !Checked("South") && !Checked("East"));
    EXPECT_EQ(Preview(), "4903.50N/07201.75W");
    // The preview follows every field and button.
    for (auto [typed, shown] :
         {std::pair{"59", "4903.98N"}, {"0", "4903.00N"}, {"60", "invalid string"}, {"30", "4903.50N"}}) {
        Set("Latitude Sec", typed);
        EXPECT_EQ(Text("APRS String Latitude"), shown) << typed;
    }
    Click("East");
    EXPECT_EQ(Text("APRS String Longitude"), "07201.75E");
    Click("West");
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD12 9600\n", "MOD13 4903.50N/07201.75W_\n", "MOD14 5\n"}));
}

TEST_F(AprsForm, ExtremesAndBaudWithWordsAreWrittenAsTypedOnceTheLoggerTakesThem)
{
    Open(kPosition, "1");
    EXPECT_EQ(Baud()->currentText(), "14400");  // the list is searched from 2400 on
    for (auto [field, text] : {std::pair{"Latitude Deg", "90"}, {"Latitude Min", "59"}, {"Latitude Sec", "59"},
                               {"Time Out Period", "999"}})
        Set(field, text);
    Baud()->lineEdit()->clear();
    QTest::keyClicks(Baud()->lineEdit(), "9600 baud");
    device.SetFault(SimFault::ErrorSets);
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{kWriteFailed}));
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 999\n"}));  // stopped at the first refusal
    device.ClearFaults();
    device.ClearLines();
    Click("OK");
    EXPECT_EQ(device.Lines(),
              (Lines{"\n", "MOD01 999\n", "MOD12 9600 baud\n", "MOD13 9059.98N/07201.75W_\n", "MOD14 5\n"}));
}

TEST_F(AprsForm, FailingFieldIsNamedFocusedAndNothingIsWritten)
{
    for (auto [field, text, message] : {
             std::tuple{"Time Out Period", "4", "Invalid Timeout Period! Must be between 5 and 999 sec."},
             {"APRS Baud Rate", "baud 9600", "Invalid APRS Baud"},
             {"Transmission Rate", "0", "Invalid Transmission Rate! Must be between 1 and 99 minutes."},
             {"Latitude Deg", "91", "Invalid Lat Deg! Must be between 0 and 90"},
             {"Latitude Min", "60", "Invalid Lat Min! Must be between 0 and 59"},
             {"Latitude Sec", "", "Invalid Lat Sec! Must be between 0 and 59"},
             {"Longitude Deg", "181", "Invalid Lon Deg! Must be between 0 and 180"},
             {"Longitude Min", "-1", "Invalid Lon Min! Must be between 0 and 59"},
             {"Longitude Sec", "5.5", "Invalid Lon Sec! Must be between 0 and 59"}}) {
        Open(kPosition);
        messages.Clear();
        if (auto* combo = FindField<QComboBox>(shown, field)) combo->setEditText(text);
        else Set(field, text);
        Click("OK");
        EXPECT_EQ(messages.Texts(), (Lines{message})) << field << " \"" << text << '"';
        EXPECT_EQ(form->focusWidget()->accessibleName(), field);
        EXPECT_TRUE(device.Lines().empty()) << field;
    }
}

// A stored position is never read past its end.
TEST_F(AprsForm, PositionWithoutSlashOrTooShortOpensEmpty)
{
    for (const char* stored : {"4903.50N07201.75W_", "49N/72W", "W", "4903.50N/0720W"}) {
        Open(stored);
        EXPECT_EQ(Text("Latitude Deg") + Text("Latitude Sec") + Text("Longitude Min"), "") << stored;
        EXPECT_FALSE(AnyHemisphere()) << stored;
        EXPECT_EQ(Preview(), "invalid string/invalid string") << stored;
    }
}

// Refused rather than writing the preview's "invalid string" into the logger.
TEST_F(AprsForm, OkWithoutHemisphereIsRefusedOnThatHalfsButtons)
{
    Open("4903.50E/07201.75X_");  // neither half holds one of its own letters
    EXPECT_FALSE(AnyHemisphere());
    Click("OK");
    EXPECT_EQ(form->focusWidget(), FindButton(form.get(), "North"));
    Click("North");
    Click("OK");
    EXPECT_EQ(form->focusWidget(), FindButton(form.get(), "East"));
    EXPECT_EQ(messages.Texts(),
              (Lines{"Please select North or South for the latitude.", "Please select East or West for the longitude."}));
    EXPECT_TRUE(device.Lines().empty());
    Click("West");
    Click("OK");
    EXPECT_EQ(device.Lines().at(3), "MOD13 4903.50N/07201.75W_\n");
}

}  // namespace
