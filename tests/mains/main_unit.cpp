#include "base/NumericText.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    UseCNumberRules();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
