// The firmware upgrade warning and its link label: its looks, and what a
// click does when the desktop opens the address or cannot.

#include "loggers/ui/CFirmwareWarningDlg.h"
#include "loggers/ui/CLinkLabel.h"
#include "base/DesktopOpen.h"
#include "TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

constexpr const char* kAddress = "https://corvane.example/firmware";

TEST(LinkLabel, WarningShowsTheTextAndALinkVisitedOnlyAfterTheDesktopOpenedTheAddress)
{
    RecordingMessages messages;
    bool opens = false;
    Lines asked;
    auto previous = SetDesktopOpener([&](const std::string& target, bool) {
        asked.push_back(target);
        return OpenResult{opens, opens ? "" : "no browser"};
    });
    CFirmwareWarningDlg dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), "Firmware Upgrade Warning");
    QStringList texts;
    for (QLabel* label : dlg.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(
        "A newer version of firmware is required for the Irrigation data logger to work with this "
        "software.  Please download the latest firmware through the following website before "
        "running the application: "));
    CLinkLabel* link = dlg.Link();
    EXPECT_EQ(link->text(), kAddress);
    EXPECT_TRUE(link->font().underline() && (link->alignment() & Qt::AlignHCenter));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 238));

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_FALSE(link->Visited());
    EXPECT_EQ(messages.Texts(), (Lines{"Unable to open hyperlink:\n\nThere is no application associated\nwith the "
                                       "given filename extension."}));
    opens = true;
    QTest::mouseClick(link, Qt::LeftButton);
    SetDesktopOpener(std::move(previous));
    EXPECT_TRUE(link->Visited() && link->font().underline());
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(85, 26, 139));
    EXPECT_EQ(asked, (Lines{kAddress, kAddress}));
}
