// Text from the device or the user that looks like markup is shown as it is
// (the logger type line is checked with the ALOHA form).
#include "FormSupport.h"
#include "UserMessages.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr const char* kMarkup = "ALOHA   <img src=\"/etc/hosts\"><b>100</b>";

TEST(PlainText, MessageBoxesShowTheirTextAsPlainText)
{
    UserMessages* previousMessages = SetUserMessages(nullptr);
    CursorSink* previousCursor = SetCursorSink(nullptr);
    InstallQtSeams();
    Qt::TextFormat format = Qt::RichText;
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            format = box->textFormat();
            shown = box->text();
            box->accept();
        }
    });
    ShowMessage(kMarkup);
    SetUserMessages(previousMessages);
    SetCursorSink(previousCursor);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, kMarkup);
}

}  // namespace
