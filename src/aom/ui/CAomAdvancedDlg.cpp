#include "aom/ui/CAomAdvancedDlg.h"

#include "aom/AomCommands.h"
#include "aom/AomModuleChecks.h"
#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "base/NumericText.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kReadFailed =
    "Failed to retrieve configuration in the module.  \n\t\tPlease check Serial Port settings and "
    "connections.";

std::string Text(const QLineEdit* field)
{
    return field->text().toStdString();
}

QString Setting(const char* key)
{
    return QString::fromStdString(Settings().GetValue(key));
}

}  // namespace

CAomAdvancedDlg::CAomAdvancedDlg(QWidget* parent, CAomSettings& settings, int output)
    : QDialog(parent), settings_(settings), output_(output)
{
    // The output number in the title tells the four outputs' forms apart.
    setWindowTitle(QString::asprintf("Advanced - Output %i", output + 1));

    // Plain fields: their characters are checked at OK only.
    auto* grid = new QGridLayout;
    const struct {
        const char* caption;
        const char* unit;
        QLineEdit** field;
    } rows[] = {{"Delay on Release", "min", &releaseDelay_},
                {"Delay on Reactivation", "min", &reactivationDelay_},
                {"Pulse Width", "milliseconds", &pulseWidth_}};
    int row = 0;
    for (const auto& r : rows) {
        *r.field = new QLineEdit(this);
        AddCaptionedRow(grid, row++, this, r.caption, *r.field, r.unit);
    }

    QHBoxLayout* options =
        RelayOptionGroups(this, &continuous_, &pulse_, &normallyOpen_, &normallyClosed_);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* defaults = new QPushButton("Default", this);
    auto* help = new QPushButton("Help", this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addLayout(ButtonRow({ok, cancel, defaults, help}));

    releaseDelay_->setText(QString::fromStdString(settings_.releaseDelay));
    reactivationDelay_->setText(QString::fromStdString(settings_.reactivationDelay));
    (ReadInt(settings_.pulseWidth) != 0 ? pulse_ : continuous_)->setChecked(true);
    pulseWidth_->setText(QString::fromStdString(settings_.pulseWidth));
    (settings_.normallyOpen ? normallyOpen_ : normallyClosed_)->setChecked(true);

    connect(continuous_, &QRadioButton::clicked, this, &CAomAdvancedDlg::OnContinuous);
    connect(pulse_, &QRadioButton::clicked, this, &CAomAdvancedDlg::OnPulse);
    connect(pulseWidth_, &QLineEdit::textChanged, this, &CAomAdvancedDlg::OnPulseWidthChanged);
    connect(ok, &QPushButton::clicked, this, &CAomAdvancedDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CAomAdvancedDlg::OnDefault);
    connect(help, &QPushButton::clicked, this, &CAomAdvancedDlg::OnHelp);
}

void CAomAdvancedDlg::OnContinuous()
{
    pulseWidth_->setText("0");
    OnPulseWidthChanged();
}

void CAomAdvancedDlg::OnPulse()
{
    pulse_->setChecked(true);
    pulseWidth_->setText(Setting(key::AomAlarmPulseWidth));
    // The text may not have changed; the buttons must follow it all the same
    // (a default width of "0" is continuous activation).
    OnPulseWidthChanged();
}

void CAomAdvancedDlg::OnPulseWidthChanged()
{
    // Only the exact text "0" is continuous; "00" is sent as a pulse width.
    (pulseWidth_->text() == "0" ? continuous_ : pulse_)->setChecked(true);
}

void CAomAdvancedDlg::OnDefault()
{
    DBConfigParser& store = Settings();
    releaseDelay_->setText(Setting(key::AomAlarmDuration));
    reactivationDelay_->setText(Setting(key::AomAlarmDelay));
    if (store.GetInt(key::AomContinuousPulse) != 0) {
        continuous_->setChecked(true);
        pulseWidth_->setText("0");
    } else {
        pulse_->setChecked(true);
        pulseWidth_->setText(Setting(key::AomAlarmPulseWidth));
    }
    OnPulseWidthChanged();
    (store.GetInt(key::AomOpenCircuit) != 0 ? normallyClosed_ : normallyOpen_)->setChecked(true);
}

void CAomAdvancedDlg::Refuse(const char* message, QWidget* field)
{
    ShowMessage(UserMessage{message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
    field->setFocus();
}

void CAomAdvancedDlg::OnOK()
{
    const AomOptionTexts texts{Text(releaseDelay_), Text(reactivationDelay_), Text(pulseWidth_),
                               normallyOpen_->isChecked()};
    if (const CheckResult refused = ApplyAomOptionTexts(texts, settings_)) {
        QLineEdit* const fields[] = {releaseDelay_, reactivationDelay_, pulseWidth_};
        Refuse(refused->message.c_str(), fields[refused->field]);
        return;
    }

    WaitCursorGuard wait;
    const bool written = RunLink([this] { return WriteOutputOptions(settings_, output_); });
    wait.Restore();
    if (written) {
        accept();
        return;
    }
    ShowMessage(UserMessage{kAomOptionsWriteFailed, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
}

void CAomAdvancedDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}

void OpenAdvancedOptions(QWidget* parent, CAomSettings& record, int output)
{
    if (!RunLink([&] { return ReadOutputOptions(record, output); })) {
        ShowMessage(UserMessage{kReadFailed, std::nullopt, MsgIcon::None, MsgButtons::Ok, parent});
        return;
    }
    CAomAdvancedDlg dlg(parent, record, output);
    RunChildForm(dlg);
}
