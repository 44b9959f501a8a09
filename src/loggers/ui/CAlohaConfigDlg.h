#pragma once
#include "loggers/LoggerChecks.h"
#include <QDialog>

class CAlohaSettings;
class CLoggerSettings;
class CNumericEdit;
class QLabel;

// "ALOHA Configuration": edits the time-out and station number of the record
// and writes both to the logger on OK.
class CAlohaConfigDlg : public QDialog {
    Q_OBJECT
public:
    CAlohaConfigDlg(QWidget* parent, CAlohaSettings& settings);

    static constexpr const char* kInvalidTimeout = kInvalidTimeout255;
    static constexpr const char* kInvalidStation = ::kInvalidStation;

private slots:
    void OnDefault();
    void OnOK();
    void OnHelp();

private:
    CAlohaSettings& settings_;
    QLabel* loggerType_;
    CNumericEdit* timeout_;
    CNumericEdit* station_;
};

// The ALOHA kind's Configure: runs the form over the record's owner.
void RunAlohaConfigForm(CLoggerSettings& record);
