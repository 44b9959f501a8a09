#pragma once
// "Download Alarms": the module's alarm event log into a text file.

#include "AlarmRowSummary.h"

#include <QDialog>

// Runs the download modally over parent, naming events by the rows given.
void RunAlarmDownload(QWidget* parent, const ConditionRowSummaries& rows);
