#include "aom/ui/CAomDlg.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AlarmDownload.h"
#include "aom/AomCommands.h"
#include "aom/AomModuleChecks.h"
#include "aom/AomUnits.h"
#include "aom/ui/CAlarmDownloadDlg.h"
#include "aom/ui/CAomOutputTabCtrl.h"
#include "aom/ui/CAomStationConfigDlg.h"
#include "aom/ui/CAomUnitsDlg.h"
#include "base/ui/CNumericEdit.h"
#include "aom/ui/COutputTestDlg.h"
#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "loggers/LoggerSettings.h"
#include "base/NumericText.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {


QPushButton* Button(const char* text, QWidget* owner)
{
    auto* button = new QPushButton(text, owner);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CAomDlg::CAomDlg(QWidget* parent, CAomSettings& settings) : QDialog(parent), settings_(settings)
{
    setWindowTitle("Alarm Output Module");

    // Creation: the transmitters (inside the tab control), the identification,
    // the units and the parameter tables the pages are built from.
    tabs_ = new CAomOutputTabCtrl(this);
    auto* grid = new QGridLayout;
    // The identification is the module's own text.
    AddLoggerTypeRow(grid, 0, this, "Logger Type: ",
                     QString::fromStdString(FormatIdentification(settings_.identification)))
        ->setTextFormat(Qt::PlainText);
    LoadAomUnitSettings();
    AlarmParameters();

    timeout_ = AddNumericRow(grid, 1, this, "Time Out Period", "sec.");
    timeout_->setMaximumWidth(80);
    grid->setColumnStretch(3, 1);
    alarmLogging_ = new QCheckBox("Enable Alarm Logging", this);
    grid->addWidget(alarmLogging_, 2, 0, 1, 3);

    stationConfig_ = Button("Station Config", this);
    QPushButton* setUnits = Button("Set Units", this);
    QPushButton* outputTest = Button("Output Test", this);
    QPushButton* download = Button("Download Logs", this);
    QPushButton* clearLogs = Button("Clear Logs", this);
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {stationConfig_, setUnits, outputTest, download, clearLogs})
        tools->addWidget(b);
    tools->addStretch();

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* help = new QPushButton("Help", this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(tools);
    layout->addWidget(tabs_, 1);
    layout->addLayout(ButtonRow({ok, cancel, help}));

    connect(tabs_, &CAomOutputTabCtrl::UsedRowsChanged, this, &CAomDlg::OnUsedRowsChanged);
    connect(stationConfig_, &QPushButton::clicked, this, &CAomDlg::OnStationConfig);
    connect(setUnits, &QPushButton::clicked, this, &CAomDlg::OnSetUnits);
    connect(outputTest, &QPushButton::clicked, this, &CAomDlg::OnOutputTest);
    connect(download, &QPushButton::clicked, this, &CAomDlg::OnDownloadLogs);
    connect(clearLogs, &QPushButton::clicked, this, &CAomDlg::OnClearLogs);
    connect(ok, &QPushButton::clicked, this, &CAomDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CAomDlg::OnHelp);

    Show();
}

void CAomDlg::Show()
{
    // The pages have no rows yet, so the refresh after the station form
    // leaves them as they are; they are built from the new configuration.
    DBConfigParser& store = Settings();
    if (store.GetValue(key::AomFirstUse) == "0") {
        OnStationConfig();
        store.SetValue(key::AomFirstUse, "1");
    }
    WaitCursorGuard wait;
    timeout_->setText(QString::fromStdString(settings_.timeout));
    tabs_->CreatePages(&settings_);
    OnUsedRowsChanged();
    alarmLogging_->setChecked(settings_.alarmLogging);
}

void CAomDlg::OnUsedRowsChanged()
{
    // The offered parameters must not change under conditions that use them.
    stationConfig_->setEnabled(tabs_->CountUsedRows() == 0);
}

void CAomDlg::OnStationConfig()
{
    CAomStationConfigDlg station(this);
    RunChildForm(station);
    tabs_->FillParameterLists();
}

void CAomDlg::OnSetUnits()
{
    CAomUnitsDlg units(parentWidget());
    RunChildForm(units);
    tabs_->UnitsChanged();
}

void CAomDlg::OnOutputTest()
{
    RunOutputTest(this);
}

void CAomDlg::OnDownloadLogs()
{
    ConditionRowSummaries rows;
    tabs_->AddSummaries(rows);
    RunAlarmDownload(this, rows);
}

void CAomDlg::OnClearLogs()
{
    const bool cleared = RunLink([] { return ClearAlarmLog(); });
    ShowMessage(UserMessage{cleared ? kLogsCleared : kLogsClearFailed, std::string(),
                            cleared ? MsgIcon::Information : MsgIcon::Error, MsgButtons::Ok, this});
}

void CAomDlg::OnOK()
{
    WaitCursorGuard wait;
    // Sent as typed ("60-" stays "60-"); the module reads the leading number.
    const AomModuleTexts texts{timeout_->text().toStdString(), alarmLogging_->isChecked()};
    if (const CheckResult refused = ApplyAomModuleTexts(texts, settings_)) {
        wait.Restore();
        ShowMessage(UserMessage{refused->message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
        timeout_->setFocus();
        return;
    }
    // Nothing is written until every changed output has passed its checks
    // (a refusal is shown with the arrow cursor).
    wait.Restore();
    if (!tabs_->PlanOutputs()) return;
    WaitCursorGuard writing;
    if (!RunLink([this] { return WriteModuleSettings(settings_); })) {
        writing.Restore();
        ShowMessage(UserMessage{kLoggerWriteFailed, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
        return;
    }
    const bool applied = tabs_->ApplyOutputs();
    writing.Restore();
    if (applied) accept();
}

void CAomDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}

void RunAomConfigForm(CLoggerSettings& record)
{
    auto* aom = dynamic_cast<CAomSettings*>(&record);
    if (!aom) return;
    CAomDlg dlg(static_cast<QWidget*>(record.owner), *aom);
    RunChildForm(dlg);
}
