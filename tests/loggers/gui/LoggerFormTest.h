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

    // On the form under test: fields by caption, buttons by text. click():
    // the whole user click, wherever the style puts a radio button's
    // sensitive area.
    QString Text(const QString& field) { return FindField<QLineEdit>(shown, field)->text(); }
    void Set(const QString& field, const QString& text) { SetFieldText(shown, field, text); }
    void Click(const QString& button) { FindButton(shown, button)->click(); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture device;
    QWidget* shown = nullptr;

private:
    bool opened_ = false;
};
