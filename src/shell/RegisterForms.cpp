#include "shell/RegisterForms.h"

#include "loggers/ui/CAlohaConfigDlg.h"
#include "aom/ui/CAomDlg.h"
#include "loggers/ui/CAprsConfigDlg.h"
#include "loggers/ui/CFirmwareWarningDlg.h"
#include "loggers/ui/CIrrigationConfigDlg.h"
#include "base/LinkSequence.h"
#include "detect/LoggerDetection.h"
#include "loggers/LoggerSettings.h"

// One line per kind: a kind's own form replaces its placeholder here.
void RegisterAllForms()
{
    RegisterConfigureForm(LoggerAloha, RunAlohaConfigForm);
    RegisterConfigureForm(LoggerAprs, RunAprsConfigForm);
    RegisterConfigureForm(LoggerIrrigation, RunIrrigationConfigForm);
    RegisterConfigureForm(LoggerAom, RunAomConfigForm);
    // Detection runs off the UI thread; the warning is a form, so it is
    // shown on the UI thread while detection waits for it.
    SetFirmwareWarningForm([](OwnerWindow owner) { OnUiThread([owner] { ShowFirmwareWarning(owner); }); });
}
