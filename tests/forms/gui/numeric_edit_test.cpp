#include "CNumericEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

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

}  // namespace
