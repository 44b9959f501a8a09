#include "COutputTestDlg.h"

// Placeholder until the form exists.
void RunOutputTest(QWidget*) {}
