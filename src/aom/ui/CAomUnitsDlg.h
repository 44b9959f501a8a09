#pragma once
#include <QDialog>

#include <vector>

class QRadioButton;

// "Choose Units": the four display units of the alarm output forms, stored
// in config.txt on OK and loaded again into the process-wide unit settings.
class CAomUnitsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAomUnitsDlg(QWidget* parent);

    static constexpr const char* kHelpFile = "AOMSelectUnitsHelp.txt";

private slots:
    void OnOK();
    void OnHelp();

private:
    // One list per unit group, in the order of the group table in the .cpp.
    std::vector<std::vector<QRadioButton*>> radios_;
};
