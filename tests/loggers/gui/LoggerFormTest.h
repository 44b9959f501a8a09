#pragma once
// A logger form test: the simulated logger on its open port, and the form
// under test driven by captions and button texts.

#include "FormFinder.h"
#include "SimOnPortTest.h"

inline constexpr const char* kWriteFailed =
    "Failed to set configuration in the module.  \n\t\t\tPlease check Serial Port settings and "
    "connections.";

class LoggerFormTest : public SimOnPortTest {
protected:
    explicit LoggerFormTest(SimKind kind, const char* settings = "") : SimOnPortTest(kind, settings) {}

    // On the form under test: fields by caption, buttons by text. click():
    // the whole user click, wherever the style puts a radio button's
    // sensitive area.
    QString Text(const QString& field) { return FindField<QLineEdit>(shown, field)->text(); }
    void Set(const QString& field, const QString& text) { SetFieldText(shown, field, text); }
    void Click(const QString& button) { FindButton(shown, button)->click(); }

    QWidget* shown = nullptr;
};
