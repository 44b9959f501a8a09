#include "CAomDlg.h"

// Placeholder until the form exists; the shell still shows its own.
void RunAomConfigForm(CLoggerSettings&) {}
