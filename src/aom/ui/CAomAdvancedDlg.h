#pragma once
// "Advanced": one output's activation options.

#include <QDialog>

class CAomSettings;

// Reads the output's options from the module and, when that works, runs the
// form over parent; otherwise shows why and opens nothing.
void OpenAdvancedOptions(QWidget* parent, CAomSettings& record, int output);
