#include "CAomAdvancedDlg.h"

// Placeholder until the form exists.
void OpenAdvancedOptions(QWidget*, CAomSettings&, int) {}
