// Form tests run on Qt's offscreen platform: no display needed.
#include "base/LinkSequence.h"
#include "base/ui/QtNumberRules.h"
#include "base/ui/UiLinkRunner.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    UseCNumberRulesInQt();
    // Forms run their exchanges off the UI thread as in the program.
    SetLinkSequenceRunner(RunSequenceKeepingUiAlive);
    SetUiThreadInvoker(InvokeOnUiThread);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
