#include "CNumericEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(NumericEdit, TypedLettersAndPunctuationAreSwallowed)
{
    CNumericEdit edit;
    QTest::keyClicks(&edit, "1a,$2.-:? 3Z");
    EXPECT_EQ(edit.text(), "12.-:? 3");
}

TEST(NumericEdit, MinusDroppedWhileNotAllowed)
{
    CNumericEdit edit;
    edit.m_bAllowMinus = false;
    QTest::keyClicks(&edit, "-5-");
    EXPECT_EQ(edit.text(), "5");
    edit.m_bAllowMinus = true;
    QTest::keyClicks(&edit, "-");
    EXPECT_EQ(edit.text(), "5-");
}

TEST(NumericEdit, NonAsciiAndControlKeysPass)
{
    CNumericEdit edit;
    QTest::keyClicks(&edit, QString::fromUtf8("4\u00b0"));
    EXPECT_EQ(edit.text(), QString::fromUtf8("4\u00b0"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "4");
}

TEST(NumericEdit, PastedTextIsNotFiltered)
{
    CNumericEdit edit;
    QApplication::clipboard()->setText("abc");
    edit.paste();
    EXPECT_EQ(edit.text(), "abc");
}

}  // namespace
