#pragma once
#include "base/UserMessages.h"
// What every form shares: the caption/field binding that screen readers and
// tests find fields by, running child forms through one seam, and the Qt
// implementations of the core's seams.

#include <QString>
#include <functional>
#include <initializer_list>

class CNumericEdit;
class QDialog;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

// Makes label the buddy of field and gives field the caption as its
// accessible name ("&" mnemonics and surrounding blanks removed).
void BindCaption(QLabel* label, QWidget* field);
QString CaptionName(const QString& caption);

// One row of a form's grid: caption, field and, when unit is not empty, a
// unit label, which is returned (null without one).
QLabel* AddCaptionedRow(QGridLayout* grid, int row, QWidget* owner, const QString& caption,
                        QWidget* field, const QString& unit = {});
// The same with a new numeric field, which is returned.
CNumericEdit* AddNumericRow(QGridLayout* grid, int row, QWidget* owner, const QString& caption,
                            const QString& unit = {}, QLabel** unitLabel = nullptr);
// The read-only "Logger Type:" line showing text.
QLabel* AddLoggerTypeRow(QGridLayout* grid, int row, QWidget* owner, const QString& caption,
                         const QString& text);
// How a relay switches, as both advanced forms offer it: "Alarm Activation"
// (Continuous, Pulse) beside "Circuit Behavior" (Normally Open, Normally Closed).
QHBoxLayout* RelayOptionGroups(QWidget* owner, QRadioButton** continuous, QRadioButton** pulse,
                               QRadioButton** normallyOpen, QRadioButton** normallyClosed);
// The buttons at the foot of a form, right-aligned; the first is the default.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);


// Runs a form's write sequence under the wait cursor: on success the form
// closes with OK; otherwise the write-failure message is shown and the form
// stays open for another try.
void WriteThenAccept(QDialog& form, const std::function<bool()>& write);

// Runs a child form modally and gives its result (QDialog::Accepted or
// Rejected). Tests replace the runner to drive or answer the form.
using FormRunner = std::function<int(QDialog&)>;
FormRunner SetFormRunner(FormRunner runner);
int RunChildForm(QDialog& dialog);

// Installs the Qt message boxes, the override wait cursor and the desktop
// opener behind the core's seams.
void InstallQtSeams();
