#pragma once
// What every logger form test stands on: a working directory with its
// settings, instant pauses, recorded messages, and a simulated logger on COM1
// whose port stays open for the test's lifetime, as the configure command
// holds it open around a form.

#include "FormFinder.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

inline constexpr const char* kWriteFailed =
    "Failed to set configuration in the module.  \n\t\t\tPlease check Serial Port settings and "
    "connections.";

class LoggerFormTest : public ::testing::Test {
protected:
    explicit LoggerFormTest(SimKind kind, const char* settings = "") : dir(settings), device(kind)
    {
        device.UseAsPort(dir);
        opened_ = LinkOpen(1, 19200) == 0;
    }
    ~LoggerFormTest() override { LinkClose(); }
    void SetUp() override { ASSERT_TRUE(opened_); }

    static QString Text(QWidget* form, const QString& f) { return FindField<QLineEdit>(form, f)->text(); }
    // click(): the whole user click, wherever the style puts a radio
    // button's sensitive area.
    static void Click(QWidget* form, const QString& button) { FindButton(form, button)->click(); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture device;

private:
    bool opened_ = false;
};
