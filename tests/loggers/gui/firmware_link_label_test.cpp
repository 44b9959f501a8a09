// The firmware upgrade warning and its link label: looks, hover, and what a
// click does when the desktop opens the address or cannot.

#include "CFirmwareWarningDlg.h"
#include "CLinkLabel.h"
#include "DesktopOpen.h"
#include "TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kAddress = "https://corvane.example/firmware";
const QColor kLinkColour(0, 0, 238);

// Answers a click with a chosen result code instead of asking the desktop.
class ScriptedLink : public CLinkLabel {
public:
    int code = 42;

protected:
    int OpenLink() override { return code; }
};

TEST(LinkLabel, WarningShowsTheTextAndAnAlwaysUnderlinedLink)
{
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
    EXPECT_TRUE(link->font().underline());
    EXPECT_TRUE(link->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), kLinkColour);
}

TEST(LinkLabel, HoverUnderlinesUntilTheClickAndFailedCodesNameTheirReason)
{
    RecordingMessages messages;
    ScriptedLink link;
    link.setText(kAddress);
    link.show();
    EXPECT_FALSE(link.font().underline());
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), link.mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&link, &move);
    EXPECT_TRUE(link.Hovering() && link.font().underline());
    for (auto [code, reason] : {std::pair{26, "A sharing violation occurred. "},
                                {4, "Unknown Error (4) occurred."}}) {
        messages.Clear();
        link.code = code;
        QTest::mouseClick(&link, Qt::LeftButton);
        EXPECT_FALSE(link.Hovering());
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, std::string("Unable to open hyperlink:\n\n") + reason);
        EXPECT_EQ(messages.Shown()[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(link.Visited());
    }
}

TEST(LinkLabel, VisitedOnlyAfterTheDesktopOpenedTheAddress)
{
    RecordingMessages messages;
    bool opens = false;
    Lines asked;
    auto previous = SetDesktopOpener([&](const std::string& target, bool) {
        asked.push_back(target);
        return OpenResult{opens, opens ? std::string() : std::string("no browser")};
    });
    CLinkLabel link;
    link.SetAddress(kAddress);
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_FALSE(link.Visited());
    EXPECT_EQ(messages.Texts(), (Lines{"Unable to open hyperlink:\n\nThere is no application "
                                       "associated\nwith the given filename extension."}));
    EXPECT_EQ(link.palette().color(QPalette::WindowText), kLinkColour);
    opens = true;
    QTest::mouseClick(&link, Qt::LeftButton);
    SetDesktopOpener(std::move(previous));
    EXPECT_TRUE(link.Visited());
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(85, 26, 139));
    EXPECT_EQ(asked, (Lines{kAddress, kAddress}));
}

}  // namespace
