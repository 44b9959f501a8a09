#include "RegisterForms.h"

#include "CAlohaConfigDlg.h"
#include "CAomDlg.h"
#include "CAprsConfigDlg.h"
#include "CFirmwareWarningDlg.h"
#include "CIrrigationConfigDlg.h"
#include "LinkSequence.h"
#include "LoggerDetection.h"
#include "LoggerSettings.h"

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
