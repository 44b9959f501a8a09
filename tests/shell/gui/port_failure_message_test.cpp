// A port that will not open: the no-logger message keeps its text, gains
// the device and the reason in plain words, and the event log keeps its
// entry.

#include "FormSupport.h"
#include "SetupCommands.h"
#include "TestSupport.h"
#include "UserMessages.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(PortFailureMessage, ConfigureShowsTheReasonBesideTheNoLoggerText)
{
    TempWorkDir dir("SERIAL_PORT=3\nBAUD_RATE=19200\nCOM3_DEVICE=/dev/corvane-unplugged\nWORKING_DIRECTORY=.\n");
    InstantPauses pauses;
    RecordingMessages messages;
    ConfigureLogger(nullptr);
    const std::vector<UserMessage> shown = messages.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No Corvane Logger Found.  Please check Serial Port settings and connections.");
    EXPECT_EQ(shown[0].details, "Device: /dev/corvane-unplugged (COM3)\n\nThe device is missing: the adapter is "
                                "unplugged, or COM3_DEVICE points elsewhere. Plug the adapter in, or choose its "
                                "device for COM3 in Setup Communications Port.");
    EXPECT_NE(dir.ReadFile("eventLog.txt").find("{LinkOpen}  \n\t\t\tCOM3 (/dev/corvane-unplugged) could not be "
                                                "opened: No such file or directory."),
              std::string::npos);
}

TEST(PortFailureMessage, TheBoxShowsTheDetailsAsPlainText)
{
    UserMessages* previousMessages = SetUserMessages(nullptr);
    CursorSink* previousCursor = SetCursorSink(nullptr);
    InstallQtSeams();
    QString text, details;
    Qt::TextFormat format = Qt::RichText;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            details = box->informativeText();
            if (auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel")) format = label->textFormat();
            box->accept();
        }
    });
    UserMessage message;
    message.text = "No Corvane Logger Found.";
    message.details = "Device: /dev/<b>odd</b>";
    ShowMessage(message);
    SetUserMessages(previousMessages);
    SetCursorSink(previousCursor);
    EXPECT_EQ(text, "No Corvane Logger Found.");
    EXPECT_EQ(details, "Device: /dev/<b>odd</b>");
    EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
