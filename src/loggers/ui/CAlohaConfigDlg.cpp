#include "loggers/ui/CAlohaConfigDlg.h"

#include "loggers/AlohaWrite.h"
#include "base/ui/CNumericEdit.h"
#include "base/ui/FormSupport.h"
#include "base/NumericText.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kDefaultTimeout = "5";
constexpr const char* kDefaultStation = "1";
constexpr const char* kHelpFile = "ALOHAHelp.txt";

}  // namespace

CAlohaConfigDlg::CAlohaConfigDlg(QWidget* parent, CAlohaSettings& settings)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("ALOHA Configuration");

    auto* group = new QGroupBox("Configuration", this);
    auto* grid = new QGridLayout(group);

    loggerType_ = AddLoggerTypeRow(grid, 0, group, "Logger Type: ",
                                   QString::fromStdString(FormatIdentification(settings_.identification)));
    timeout_ = AddNumericRow(grid, 1, group, "Time Out Period", "sec.");
    timeout_->setText(QString::fromStdString(settings_.timeout));
    station_ = AddNumericRow(grid, 2, group, "Station ID #");
    station_->setText(QString::fromStdString(settings_.stationId));

    auto* defaults = new QPushButton("Default", group);
    defaults->setAutoDefault(false);
    grid->addWidget(defaults, 3, 1);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* help = new QPushButton("Help", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel, help});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(defaults, &QPushButton::clicked, this, &CAlohaConfigDlg::OnDefault);
    connect(ok, &QPushButton::clicked, this, &CAlohaConfigDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CAlohaConfigDlg::OnHelp);
}

void CAlohaConfigDlg::OnDefault()
{
    timeout_->setText(kDefaultTimeout);
    station_->setText(kDefaultStation);
}

void CAlohaConfigDlg::OnOK()
{
    const AlohaTexts texts{timeout_->text().toStdString(), station_->text().toStdString()};
    if (const CheckResult refusal = ApplyAlohaTexts(texts, settings_)) {
        ShowMessage(UserMessage{refusal->message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
        (refusal->field == AlohaTimeout ? timeout_ : station_)->setFocus();
        return;
    }

    WriteThenAccept(*this, [this] { return WriteAlohaSettings(settings_); });
}

void CAlohaConfigDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}

void RunAlohaConfigForm(CLoggerSettings& record)
{
    auto* aloha = dynamic_cast<CAlohaSettings*>(&record);
    if (!aloha) return;
    CAlohaConfigDlg dlg(static_cast<QWidget*>(record.owner), *aloha);
    RunChildForm(dlg);
}
