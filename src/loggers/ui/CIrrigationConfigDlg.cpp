#include "loggers/ui/CIrrigationConfigDlg.h"

#include "loggers/ui/CCircuitTestDlg.h"
#include "loggers/ui/CIrrigationAdvancedDlg.h"
#include "base/ui/CNumericEdit.h"
#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "loggers/IrrigationConfig.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

constexpr const char* kHelpFile = "IrrigationHelp.txt";

std::string Text(const QLineEdit* field)
{
    return field->text().toStdString();
}

void SetText(QLineEdit* field, const std::string& text)
{
    field->setText(QString::fromStdString(text));
}

}  // namespace

CIrrigationConfigDlg::CIrrigationConfigDlg(QWidget* parent, CIrrigationSettings& settings)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("Irrigation Configuration");

    auto* top = new QGridLayout;
    AddLoggerTypeRow(top, 0, this, "Logger Type: ",
                     QString::fromStdString(FormatIdentification(settings_.identification)));
    timeout_ = AddNumericRow(top, 1, this, "Time Out Period", "sec.");

    residential_ = new QCheckBox("Use Residential", this);
    residentialGroup_ = new QGroupBox("Residential Configuration", this);
    auto* grid = new QGridLayout(residentialGroup_);
    cycle_ = AddNumericRow(grid, 0, residentialGroup_, "Irrigation Cycle", "days");
    amount_ = AddNumericRow(grid, 1, residentialGroup_, "Irrigation Amount", "in", &amountUnit_);
    maxDailyRain_ =
        AddNumericRow(grid, 2, residentialGroup_, "Maximum Effective Daily Rain", "in", &dailyUnit_);
    maxRainTotal_ =
        AddNumericRow(grid, 3, residentialGroup_, "Maximum Effective Rain Total", "in", &totalUnit_);
    cutoff_ = AddNumericRow(grid, 4, residentialGroup_, "Rain Rate Cut-Off", "in/hr", &cutoffUnit_);

    auto* units = new QGroupBox("Units", this);
    auto* unitsLayout = new QHBoxLayout(units);
    inchesRadio_ = new QRadioButton("inches", units);
    mmRadio_ = new QRadioButton("mm", units);
    auto* unitPair = new QButtonGroup(units);
    unitPair->addButton(inchesRadio_);
    unitPair->addButton(mmRadio_);
    unitsLayout->addWidget(inchesRadio_);
    unitsLayout->addWidget(mmRadio_);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* defaults = new QPushButton("Default", this);
    auto* advanced = new QPushButton("Advanced", this);
    auto* circuit = new QPushButton("Circuit Test", this);
    auto* help = new QPushButton("Help", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel, defaults, advanced, circuit, help});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(residential_);
    layout->addWidget(residentialGroup_);
    layout->addWidget(units);
    layout->addLayout(buttons);

    SetText(timeout_, settings_.timeout);
    SetText(cycle_, settings_.cycle);
    residential_->setChecked(settings_.residential);
    ApplyResidential();
    inches_ = IsInches(settings_.rainUnit);
    SetUnitLabels(inches_);
    (inches_ ? inchesRadio_ : mmRadio_)->setChecked(true);
    const IrrigationTexts shown = IrrigationTextsOf(settings_);
    SetText(amount_, shown.amount);
    SetText(maxDailyRain_, shown.maxDailyRain);
    SetText(maxRainTotal_, shown.maxRainTotal);
    SetText(cutoff_, shown.cutoff);

    connect(residential_, &QCheckBox::clicked, this, &CIrrigationConfigDlg::ApplyResidential);
    connect(inchesRadio_, &QRadioButton::clicked, this, &CIrrigationConfigDlg::OnInches);
    connect(mmRadio_, &QRadioButton::clicked, this, &CIrrigationConfigDlg::OnMm);
    connect(ok, &QPushButton::clicked, this, &CIrrigationConfigDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CIrrigationConfigDlg::OnDefault);
    connect(advanced, &QPushButton::clicked, this, &CIrrigationConfigDlg::OnAdvanced);
    connect(circuit, &QPushButton::clicked, this, &CIrrigationConfigDlg::OnCircuitTest);
    connect(help, &QPushButton::clicked, this, &CIrrigationConfigDlg::OnHelp);
}

void CIrrigationConfigDlg::ApplyResidential()
{
    // The unit radios live outside the group and stay usable either way.
    residentialGroup_->setEnabled(residential_->isChecked());
}

void CIrrigationConfigDlg::SetUnitLabels(bool inches)
{
    for (QLabel* unit : {amountUnit_, dailyUnit_, totalUnit_}) unit->setText(inches ? "in" : "mm");
    cutoffUnit_->setText(inches ? "in/hr" : "mm/hr");
}

void CIrrigationConfigDlg::OnInches()
{
    if (inches_) return;
    SwitchUnit(true);
    settings_.rainUnit = kRainUnitInches;
}

void CIrrigationConfigDlg::OnMm()
{
    if (!inches_) return;
    SwitchUnit(false);
    settings_.rainUnit = kRainUnitMmSwitched;
}

void CIrrigationConfigDlg::SwitchUnit(bool inches)
{
    if (inches_ == inches) return;
    SetUnitLabels(inches);
    IrrigationTexts texts;
    texts.inches = inches_;
    texts.amount = Text(amount_);
    texts.maxDailyRain = Text(maxDailyRain_);
    texts.maxRainTotal = Text(maxRainTotal_);
    texts.cutoff = Text(cutoff_);
    SwitchIrrigationUnit(texts, inches);
    SetText(amount_, texts.amount);
    SetText(maxDailyRain_, texts.maxDailyRain);
    SetText(maxRainTotal_, texts.maxRainTotal);
    SetText(cutoff_, texts.cutoff);
    inches_ = inches;
}

void CIrrigationConfigDlg::OnDefault()
{
    DBConfigParser& store = Settings();
    residential_->setChecked(store.GetInt(key::IrrigationResidential) != 0);
    ApplyResidential();
    SetText(cycle_, store.GetValue(key::IrrigationCycle));
    SetText(amount_, HundredthsKeyToInches(store.GetInt(key::IrrigationAmount)));
    SetText(maxDailyRain_, HundredthsKeyToInches(store.GetInt(key::IrrigationMaxRain)));
    SetText(cutoff_, HundredthsKeyToInches(store.GetInt(key::IrrigationRainRate)));
    SetText(maxRainTotal_, HundredthsKeyToInches(store.GetInt(key::IrrigationRainTotal)));
    char timeout[16];
    std::snprintf(timeout, sizeof timeout, "%i", store.GetInt(key::IrrigationTimeout));
    timeout_->setText(timeout);
    inchesRadio_->setChecked(true);
    SetUnitLabels(true);
    inches_ = true;
}

void CIrrigationConfigDlg::Refuse(const std::string& message, QWidget* field)
{
    ShowMessage(UserMessage{message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
    field->setFocus();
}

void CIrrigationConfigDlg::OnOK()
{
    IrrigationTexts texts;
    texts.inches = inches_;
    texts.timeout = Text(timeout_);
    texts.residential = residential_->isChecked();
    texts.cycle = Text(cycle_);
    texts.amount = Text(amount_);
    texts.maxDailyRain = Text(maxDailyRain_);
    texts.maxRainTotal = Text(maxRainTotal_);
    texts.cutoff = Text(cutoff_);
    if (const CheckResult refusal = ApplyIrrigationTexts(texts, settings_)) {
        QWidget* fields[] = {timeout_, cycle_, amount_, maxDailyRain_, maxRainTotal_, cutoff_};
        Refuse(refusal->message, fields[refusal->field]);
        return;
    }
    settings_.rainUnit = inchesRadio_->isChecked() ? kRainUnitInches : kRainUnitMm;

    WriteThenAccept(*this, [this] { return WriteIrrigationSettings(settings_); });
}

void CIrrigationConfigDlg::OnAdvanced()
{
    CIrrigationAdvancedDlg dlg(parentWidget(), settings_);
    RunChildForm(dlg);
}

void CIrrigationConfigDlg::OnCircuitTest()
{
    CCircuitTestDlg dlg(parentWidget(), settings_);
    RunChildForm(dlg);
}

void CIrrigationConfigDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}

void RunIrrigationConfigForm(CLoggerSettings& record)
{
    auto* irrigation = dynamic_cast<CIrrigationSettings*>(&record);
    if (!irrigation) return;
    CIrrigationConfigDlg dlg(static_cast<QWidget*>(record.owner), *irrigation);
    RunChildForm(dlg);
}
