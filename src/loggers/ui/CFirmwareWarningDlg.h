#pragma once
#include "LoggerSettings.h"

#include <QDialog>

class CLinkLabel;

// "Firmware Upgrade Warning": shown instead of the irrigation form when the
// logger's firmware is too old for this program, with the download link.
class CFirmwareWarningDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFirmwareWarningDlg(QWidget* parent);

    static constexpr const char* kText =
        "A newer version of firmware is required for the Irrigation data logger to work with "
        "this software.  Please download the latest firmware through the following website "
        "before running the application: ";

    CLinkLabel* Link() const { return link_; }

private:
    CLinkLabel* link_;
};

// The warning over owner (a QWidget* or null), as detection shows it.
void ShowFirmwareWarning(OwnerWindow owner);
