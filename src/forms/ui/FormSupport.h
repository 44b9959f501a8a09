#pragma once
// What every form shares: the caption/field binding that screen readers and
// tests find fields by, running child forms through one seam, and the Qt
// implementations of the core's seams.

#include <QString>
#include <functional>

class QDialog;
class QLabel;
class QWidget;

// Makes label the buddy of field and gives field the caption as its
// accessible name ("&" mnemonics and surrounding blanks removed).
void BindCaption(QLabel* label, QWidget* field);
QString CaptionName(const QString& caption);

// Runs a child form modally and gives its result (QDialog::Accepted or
// Rejected). Tests replace the runner to drive or answer the form.
using FormRunner = std::function<int(QDialog&)>;
FormRunner SetFormRunner(FormRunner runner);
int RunChildForm(QDialog& dialog);

// Installs the Qt message boxes, the override wait cursor and the desktop
// opener behind the core's seams.
void InstallQtSeams();
