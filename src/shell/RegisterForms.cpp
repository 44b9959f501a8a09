#include "RegisterForms.h"

#include "CAlohaConfigDlg.h"
#include "CPlaceholderDlg.h"
#include "LoggerDetection.h"
#include "LoggerSettings.h"

// One line per kind: a kind's own form replaces its placeholder here.
void RegisterAllForms()
{
    RegisterConfigureForm(LoggerAloha, RunAlohaConfigForm);
    RegisterConfigureForm(LoggerAprs, [](CLoggerSettings& r) { ShowPlaceholderForm(r.owner, "APRS Configuration"); });
    RegisterConfigureForm(LoggerIrrigation, [](CLoggerSettings& r) { ShowPlaceholderForm(r.owner, "Irrigation Configuration"); });
    RegisterConfigureForm(LoggerAom, [](CLoggerSettings& r) { ShowPlaceholderForm(r.owner, "Alarm Output Module"); });
    SetFirmwareWarningForm([](OwnerWindow owner) { ShowPlaceholderForm(owner, "Firmware Upgrade Warning"); });
}
