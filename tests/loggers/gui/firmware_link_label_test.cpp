// The firmware upgrade warning and its link label: looks, hover, and what a
// click does when the desktop opens the address or cannot.

#include "CFirmwareWarningDlg.h"
#include "CLinkLabel.h"
#include "DesktopOpen.h"
#include "FormSupport.h"
#include "TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class ScriptedLink : public CLinkLabel {
public:
    int code = 42;
    int opens = 0;

protected:
    int OpenLink() override
    {
        ++opens;
        return code;
    }
};

void MoveOver(QWidget* w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

class LinkLabel : public ::testing::Test {
protected:
    RecordingMessages messages;
};

TEST_F(LinkLabel, WarningShowsTheTextAndAnAlwaysUnderlinedLink)
{
    CFirmwareWarningDlg dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), "Firmware Upgrade Warning");
    bool textFound = false;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        textFound |= label->text() ==
                     "A newer version of firmware is required for the Irrigation data logger to "
                     "work with this software.  Please download the latest firmware through the "
                     "following website before running the application: ";
    EXPECT_TRUE(textFound);
    CLinkLabel* link = dlg.Link();
    EXPECT_EQ(link->text(), "https://corvane.example/firmware");
    EXPECT_EQ(link->Address(), "https://corvane.example/firmware");
    EXPECT_TRUE(link->font().underline());
    EXPECT_TRUE(link->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 238));

    std::vector<std::string> shown;
    auto previous = SetFormRunner([&](QDialog& d) {
        shown.push_back(d.windowTitle().toStdString());
        return int(QDialog::Accepted);
    });
    ShowFirmwareWarning(nullptr);
    SetFormRunner(std::move(previous));
    EXPECT_EQ(shown, (Lines{"Firmware Upgrade Warning"}));
}

TEST_F(LinkLabel, HoverStartsOnFirstMoveAndEndsWithTheClick)
{
    ScriptedLink link;
    link.setText("https://corvane.example/firmware");
    link.show();
    EXPECT_FALSE(link.font().underline());
    MoveOver(&link);
    EXPECT_TRUE(link.Hovering());
    EXPECT_TRUE(link.font().underline());
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_FALSE(link.Hovering());
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(link.Address(), "https://corvane.example/firmware");

    link.SetUnderlineMode(CLinkLabel::UnderlineNever);
    MoveOver(&link);
    EXPECT_FALSE(link.font().underline());
}

TEST_F(LinkLabel, FailedOpenNamesTheReasonOfItsCode)
{
    ScriptedLink link;
    link.setText("https://corvane.example/firmware");
    link.show();
    const std::pair<int, const char*> cases[] = {
        {26, "Unable to open hyperlink:\n\nA sharing violation occurred. "},
        {4, "Unable to open hyperlink:\n\nUnknown Error (4) occurred."},
    };
    for (auto [code, text] : cases) {
        messages.Clear();
        link.code = code;
        QTest::mouseClick(&link, Qt::LeftButton);
        const auto shown = messages.Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(link.Visited());
    }
}

TEST_F(LinkLabel, VisitedOnlyAfterTheDesktopOpenedTheAddress)
{
    bool opens = false;
    std::vector<std::string> asked;
    auto previous = SetDesktopOpener([&](const std::string& target, bool) {
        asked.push_back(target);
        return OpenResult{opens, opens ? std::string() : std::string("no browser")};
    });
    CLinkLabel link;
    link.SetAddress("https://corvane.example/firmware");
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_FALSE(link.Visited());
    EXPECT_EQ(messages.Texts(), (Lines{"Unable to open hyperlink:\n\nThere is no application "
                                       "associated\nwith the given filename extension."}));
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 238));

    opens = true;
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_TRUE(link.Visited());
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(85, 26, 139));
    EXPECT_EQ(asked, (Lines{"https://corvane.example/firmware", "https://corvane.example/firmware"}));
    SetDesktopOpener(std::move(previous));
}

}  // namespace
