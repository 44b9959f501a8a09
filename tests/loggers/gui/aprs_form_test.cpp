// "APRS Configuration" driven like a user: what it shows on opening, the
// live preview, the checks at OK in their order, and what the logger receives.

#include "CAprsConfigDlg.h"
#include "FormFinder.h"
#include "IrrTestDevice.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class AprsForm : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Opened()); }
    void Open(const std::string& position, const std::string& baud = "9600")
    {
        record = std::make_unique<CAprsSettings>(nullptr, "APRS    202", "60", baud, position, "5");
        form = std::make_unique<CAprsConfigDlg>(nullptr, *record);
        form->show();  // laid out, so clicks land on the controls
    }
    QLineEdit* Field(const QString& name) { return FindField<QLineEdit>(form.get(), name); }
    QString Text(const QString& name) { return Field(name)->text(); }
    void Set(const QString& name, const QString& text) { Field(name)->setText(text); }
    bool Checked(const QString& button) { return FindButton(form.get(), button)->isChecked(); }
    void Click(const QString& button) { QTest::mouseClick(FindButton(form.get(), button), Qt::LeftButton); }
    QString Preview() { return Text("APRS String Latitude") + "/" + Text("APRS String Longitude"); }
    QComboBox* Baud() { return FindField<QComboBox>(form.get(), "APRS Baud Rate"); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    IrrTestDevice device{dir, SimKind::Aprs};
    std::unique_ptr<CAprsSettings> record;
    std::unique_ptr<CAprsConfigDlg> form;
};

TEST_F(AprsForm, StoredPositionOpensSplitAndPreviewRebuildsItUnchanged)
{
    Open("4903.50N/07201.75W_");
    EXPECT_EQ(FindField<QLabel>(form.get(), "Logger Type:")->text(), "APRS  2.02");
    EXPECT_EQ(Text("Latitude Deg"), "49");
    EXPECT_EQ(Text("Latitude Min"), "3");
    EXPECT_EQ(Text("Latitude Sec"), "30");
    EXPECT_TRUE(Checked("North"));
    EXPECT_FALSE(Checked("South"));
    EXPECT_EQ(Text("Longitude Deg"), "72");
    EXPECT_EQ(Text("Longitude Min"), "1");
    EXPECT_EQ(Text("Longitude Sec"), "45");
    EXPECT_TRUE(Checked("West"));
    EXPECT_EQ(Preview(), "4903.50N/07201.75W");
    EXPECT_EQ(Baud()->currentText(), "9600");

    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD12 9600\n",
                                     "MOD13 4903.50N/07201.75W_\n", "MOD14 5\n"}));
    EXPECT_EQ(record->position, "4903.50N/07201.75W_");
}

TEST_F(AprsForm, PreviewFollowsEveryFieldAndButton)
{
    Open("4903.50N/07201.75W_");
    const std::pair<const char*, const char*> seconds[] = {{"30", "4903.50N"}, {"59", "4903.98N"},
                                                           {"0", "4903.00N"}, {"60", "invalid string"}};
    for (auto [typed, shown] : seconds) {
        Set("Latitude Sec", typed);
        EXPECT_EQ(Text("APRS String Latitude"), shown) << typed;
    }
    Click("South");
    Set("Longitude Deg", "180");
    Click("East");
    EXPECT_EQ(Preview(), "invalid string/18001.75E");
    Set("Latitude Sec", "0");
    EXPECT_EQ(Preview(), "4903.00S/18001.75E");
}

TEST_F(AprsForm, ExtremeLatitudeAndLongestTimeOutAreWritten)
{
    Open("4903.50N/07201.75W_");
    Set("Latitude Deg", "90");
    Set("Latitude Min", "59");
    Set("Latitude Sec", "59");
    Set("Time Out Period", "999");
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 999\n", "MOD12 9600\n",
                                     "MOD13 9059.98N/07201.75W_\n", "MOD14 5\n"}));
}

TEST_F(AprsForm, TypedBaudWithWordsPassesAndIsWrittenAsTyped)
{
    Open("4903.50N/07201.75W_");
    Baud()->lineEdit()->clear();
    QTest::keyClicks(Baud()->lineEdit(), "9600 baud");
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_EQ(device.Lines().size(), 5u);
    EXPECT_EQ(device.Lines()[2], "MOD12 9600 baud\n");
    EXPECT_EQ(record->baud, "9600 baud");
}

struct OkCase {
    const char* field;
    const char* text;
    const char* message;
    const char* focus;  // accessible name of the field that gets the focus
};

class AprsOkChecks : public AprsForm, public ::testing::WithParamInterface<OkCase> {};

TEST_P(AprsOkChecks, FirstFailingFieldIsNamedAndNothingIsWritten)
{
    Open("4903.50N/07201.75W_");
    const OkCase& c = GetParam();
    if (QString(c.field) == "APRS Baud Rate")
        Baud()->setEditText(c.text);
    else
        Set(c.field, c.text);
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{c.message}));
    EXPECT_EQ(form->focusWidget()->accessibleName(), c.focus);
    EXPECT_TRUE(device.Lines().empty());
    EXPECT_NE(form->result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AprsOkChecks,
    ::testing::Values(
        OkCase{"Time Out Period", "4", "Invalid Timeout Period! Must be between 5 and 999 sec.",
               "Time Out Period"},
        OkCase{"APRS Baud Rate", "baud 9600", "Invalid APRS Baud", "APRS Baud Rate"},
        OkCase{"Transmission Rate", "0",
               "Invalid Transmission Rate! Must be between 1 and 99 minutes.", "Transmission Rate"},
        OkCase{"Latitude Deg", "91", "Invalid Lat Deg! Must be between 0 and 90", "Latitude Deg"},
        OkCase{"Latitude Min", "60", "Invalid Lat Min! Must be between 0 and 59", "Latitude Min"},
        OkCase{"Latitude Sec", "", "Invalid Lat Sec! Must be between 0 and 59", "Latitude Sec"},
        OkCase{"Longitude Deg", "181", "Invalid Lon Deg! Must be between 0 and 180",
               "Longitude Deg"},
        OkCase{"Longitude Min", "-1", "Invalid Lon Min! Must be between 0 and 59", "Longitude Min"},
        OkCase{"Longitude Sec", "5.5", "Invalid Lon Sec! Must be between 0 and 59",
               "Longitude Sec"}));

TEST_F(AprsForm, PositionWithoutSlashOrTooShortOpensEmpty)
{
    for (const char* stored : {"4903.50N07201.75W_", "49N/72W", "W", "4903.50N/0720W"}) {
        Open(stored);
        for (const char* name : {"Latitude Deg", "Latitude Min", "Latitude Sec", "Longitude Deg",
                                 "Longitude Min", "Longitude Sec"})
            EXPECT_EQ(Text(name), "") << stored << " " << name;
        for (const char* button : {"North", "South", "East", "West"})
            EXPECT_FALSE(Checked(button)) << stored << " " << button;
        EXPECT_EQ(Preview(), "invalid string/invalid string") << stored;
    }
}

TEST_F(AprsForm, OkWithoutHemisphereIsRefusedOnThatHalfsButtons)
{
    // Halves holding none of their letters leave their buttons unset.
    Open("4903.50E/07201.75X_");
    for (const char* button : {"North", "South", "East", "West"})
        EXPECT_FALSE(Checked(button)) << button;
    EXPECT_EQ(Preview(), "invalid string/invalid string");
    EXPECT_EQ(Text("Latitude Sec"), "30");

    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{"Please select North or South for the latitude."}));
    EXPECT_EQ(form->focusWidget(), FindButton(form.get(), "North"));

    Click("North");
    EXPECT_EQ(Text("APRS String Latitude"), "4903.50N");
    messages.Clear();
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{"Please select East or West for the longitude."}));
    EXPECT_EQ(form->focusWidget(), FindButton(form.get(), "East"));
    EXPECT_TRUE(device.Lines().empty());

    Click("West");
    messages.Clear();
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(device.Lines().at(3), "MOD13 4903.50N/07201.75W_\n");
}

TEST_F(AprsForm, DefaultLeavesThePositionAndWritesNothing)
{
    Open("4903.50N/07201.75W_", "1");
    EXPECT_EQ(Baud()->currentText(), "14400");  // the list is searched from 2400 on
    Open("4903.50N/07201.75W_", "38400");
    EXPECT_EQ(Baud()->currentText(), "");
    Set("Time Out Period", "77");
    Set("Transmission Rate", "44");
    Click("Default");
    EXPECT_EQ(Text("Time Out Period"), "5");
    EXPECT_EQ(Text("Transmission Rate"), "5");
    EXPECT_EQ(Baud()->currentText(), "9600");
    EXPECT_EQ(Preview(), "4903.50N/07201.75W");
    EXPECT_TRUE(device.Lines().empty());
}

TEST_F(AprsForm, RefusedWriteKeepsTheFormOpenWithTheMessage)
{
    Open("4903.50N/07201.75W_");
    device.RefuseSets();
    Click("OK");
    EXPECT_EQ(messages.Texts(),
              (Lines{"Failed to set configuration in the module.  \n\t\t\tPlease check Serial "
                     "Port settings and connections."}));
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n"}));
    EXPECT_NE(form->result(), QDialog::Accepted);
}

}  // namespace
