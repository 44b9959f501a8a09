#include "RegisterForms.h"

#include "CAlohaConfigDlg.h"
#include "CAomDlg.h"
#include "CAprsConfigDlg.h"
#include "CFirmwareWarningDlg.h"
#include "CIrrigationConfigDlg.h"
#include "LoggerDetection.h"
#include "LoggerSettings.h"

// One line per kind: a kind's own form replaces its placeholder here.
void RegisterAllForms()
{
    RegisterConfigureForm(LoggerAloha, RunAlohaConfigForm);
    RegisterConfigureForm(LoggerAprs, RunAprsConfigForm);
    RegisterConfigureForm(LoggerIrrigation, RunIrrigationConfigForm);
    RegisterConfigureForm(LoggerAom, RunAomConfigForm);
    SetFirmwareWarningForm(ShowFirmwareWarning);
}
