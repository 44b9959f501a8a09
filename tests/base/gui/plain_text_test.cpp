// Text from the device or the user that looks like markup is shown as it is
// (the logger type line is checked with the ALOHA form); the numeric field
// filters what is typed.

#include "base/ui/CNumericEdit.h"
#include "base/ui/FormSupport.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

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

// The character rule itself is in the core's test; here, that the field
// applies it to typing only, and the minus switch.
TEST(NumericEdit, TypedLettersPunctuationAndBarredMinusAreSwallowedPasteAndOtherKeysPass)
{
    CNumericEdit edit;
    edit.m_bAllowMinus = false;
    QTest::keyClicks(&edit, QString::fromUtf8("-1a,$2.:? 3Z\u00b0"));
    EXPECT_EQ(edit.text(), QString::fromUtf8("12.:? 3\u00b0"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.m_bAllowMinus = true;
    QTest::keyClicks(&edit, "-");
    EXPECT_EQ(edit.text(), "12.:? 3-");
    QApplication::clipboard()->setText("abc");
    edit.paste();
    EXPECT_EQ(edit.text(), "12.:? 3-abc");
}
