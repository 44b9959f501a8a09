// A port that will not open: the no-logger box keeps its text and shows the
// device and the reason as plain text.

#include "base/ui/FormSupport.h"
#include "link/PortFailure.h"
#include "shell/SetupCommands.h"
#include "TestSupport.h"
#include "base/WaitCursor.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <cerrno>
#include <gtest/gtest.h>

TEST(PortFailureMessage, ConfigureShowsTheReasonAsPlainTextBesideTheNoLoggerText)
{
    TempWorkDir dir("SERIAL_PORT=3\nBAUD_RATE=19200\nCOM3_DEVICE=/dev/<b>gone</b>\nWORKING_DIRECTORY=.\n");
    InstantPauses pauses;
    UserMessages* previousMessages = SetUserMessages(nullptr);
    CursorSink* previousCursor = SetCursorSink(nullptr);
    InstallQtSeams();
    QString text, details;
    Qt::TextFormat format = Qt::RichText;
    // The box comes up once the detection, run off the UI thread, has failed.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            details = box->informativeText();
            if (auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel")) format = label->textFormat();
            box->accept();
        }
    });
    poll.start(10);
    ConfigureLogger(nullptr);
    SetUserMessages(previousMessages);
    SetCursorSink(previousCursor);
    EXPECT_EQ(text, "No Corvane Logger Found.  Please check Serial Port settings and connections.");
    EXPECT_EQ(details.toStdString(),
              PortFailureDetails({PortFault::System, 3, "/dev/<b>gone</b>", 19200, ENOENT}, CurrentUserName(), ""));
    EXPECT_EQ(format, Qt::PlainText);
}
