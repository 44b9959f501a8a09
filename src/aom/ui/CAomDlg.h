#pragma once
// "Alarm Output Module": the module's own settings and one conditions page
// per output.

#include <QDialog>

class CLoggerSettings;

// The configure form of the alarm output module's record.
void RunAomConfigForm(CLoggerSettings& record);
