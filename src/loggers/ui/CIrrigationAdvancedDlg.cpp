#include "loggers/ui/CIrrigationAdvancedDlg.h"

#include "base/ui/CNumericEdit.h"
#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "loggers/IrrigationConfig.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kHelpFile = "IrrigationAdvancedHelp.txt";

std::string Text(const QLineEdit* field)
{
    return field->text().toStdString();
}

}  // namespace

CIrrigationAdvancedDlg::CIrrigationAdvancedDlg(QWidget* parent, CIrrigationSettings& settings)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("Advanced");

    auto* grid = new QGridLayout;
    const struct {
        const char* caption;
        const char* unit;
        CNumericEdit** field;
    } rows[] = {{"Delay on Release", "min", &duration_},
                {"Delay on Reactivation", "min", &reactivation_},
                {"Pulse Width", "milliseconds", &pulseWidth_}};
    int row = 0;
    for (const auto& r : rows) *r.field = AddNumericRow(grid, row++, this, r.caption, r.unit);

    QHBoxLayout* options =
        RelayOptionGroups(this, &continuous_, &pulse_, &normallyOpen_, &normallyClosed_);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* defaults = new QPushButton("Default", this);
    auto* help = new QPushButton("Help", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel, defaults, help});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addLayout(buttons);

    duration_->setText(QString::fromStdString(settings_.alarmDuration));
    reactivation_->setText(QString::fromStdString(settings_.alarmReactivation));
    pulseWidth_->setText(QString::fromStdString(settings_.pulseWidth));
    (settings_.continuous ? continuous_ : pulse_)->setChecked(true);
    (settings_.normallyOpen ? normallyOpen_ : normallyClosed_)->setChecked(true);

    connect(ok, &QPushButton::clicked, this, &CIrrigationAdvancedDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CIrrigationAdvancedDlg::OnDefault);
    connect(help, &QPushButton::clicked, this, &CIrrigationAdvancedDlg::OnHelp);
}

void CIrrigationAdvancedDlg::OnDefault()
{
    DBConfigParser& store = Settings();
    duration_->setText(QString::fromStdString(store.GetValue(key::IrrigationAlarmDuration)));
    reactivation_->setText(QString::fromStdString(store.GetValue(key::IrrigationAlarmDelay)));
    pulseWidth_->setText(QString::fromStdString(store.GetValue(key::IrrigationPulseWidth)));
    (store.GetInt(key::IrrigationContinuousPulse) != 0 ? continuous_ : pulse_)->setChecked(true);
    (store.GetInt(key::IrrigationOpenCircuit) != 0 ? normallyClosed_ : normallyOpen_)
        ->setChecked(true);
}

void CIrrigationAdvancedDlg::Refuse(const char* message, QWidget* field)
{
    ShowMessage(UserMessage{message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
    field->setFocus();
}

void CIrrigationAdvancedDlg::OnOK()
{
    const IrrigationAdvancedTexts texts{Text(duration_), Text(reactivation_), Text(pulseWidth_),
                                        continuous_->isChecked(), normallyOpen_->isChecked()};
    if (const CheckResult refusal = ApplyIrrigationAdvancedTexts(texts, settings_)) {
        QWidget* fields[] = {duration_, reactivation_, pulseWidth_};
        Refuse(refusal->message.c_str(), fields[refusal->field]);
        return;
    }

    WriteThenAccept(*this, [this] { return WriteIrrigationAdvanced(settings_); });
}

void CIrrigationAdvancedDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}
