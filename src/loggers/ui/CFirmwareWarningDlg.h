#pragma once
#include "loggers/FirmwareLink.h"
#include "loggers/LoggerSettings.h"

#include <QDialog>

class CLinkLabel;

// "Firmware Upgrade Warning": shown instead of the irrigation form when the
// logger's firmware is too old for this program, with the download link.
class CFirmwareWarningDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFirmwareWarningDlg(QWidget* parent);

    static constexpr const char* kText = kFirmwareWarningText;

    CLinkLabel* Link() const { return link_; }

private:
    CLinkLabel* link_;
};

// The warning over owner (a QWidget* or null), as detection shows it.
void ShowFirmwareWarning(OwnerWindow owner);
