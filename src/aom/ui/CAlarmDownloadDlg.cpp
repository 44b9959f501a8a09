#include "CAlarmDownloadDlg.h"

// Placeholder until the form exists.
void RunAlarmDownload(QWidget*, const ConditionRowSummaries&) {}
