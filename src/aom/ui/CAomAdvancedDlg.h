#pragma once
// "Advanced": one output's activation options.

#include <QDialog>

class CAomSettings;
class QLineEdit;
class QRadioButton;

// Edits the record's option fields, which hold the options of this output
// (read from the module just before), and writes them back on OK.
class CAomAdvancedDlg : public QDialog {
    Q_OBJECT
public:
    CAomAdvancedDlg(QWidget* parent, CAomSettings& settings, int output);

    static constexpr const char* kHelpFile = "AOMAdvancedOptionsHelp.txt";

private slots:
    void OnContinuous();
    void OnPulse();
    void OnPulseWidthChanged();
    void OnDefault();
    void OnOK();
    void OnHelp();

private:
    void Refuse(const char* message, QWidget* field);

    CAomSettings& settings_;
    int output_;
    QLineEdit* releaseDelay_;
    QLineEdit* reactivationDelay_;
    QLineEdit* pulseWidth_;
    QRadioButton* continuous_;
    QRadioButton* pulse_;
    QRadioButton* normallyOpen_;
    QRadioButton* normallyClosed_;
};

// Reads the output's options from the module and, when that works, runs the
// form over parent; otherwise shows why and opens nothing.
void OpenAdvancedOptions(QWidget* parent, CAomSettings& record, int output);
