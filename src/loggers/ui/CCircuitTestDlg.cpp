#include "loggers/ui/CCircuitTestDlg.h"

#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "settings/ShowTextFile.h"
#include "base/WaitCursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <system_error>

namespace {
constexpr const char* kHelpFile = "IrrigationCircuitTestHelp.txt";
constexpr std::array<const char*, kCircuitCount> kCircuitNames = {"Wind", "Rain", "ET", "Alarm"};
}  // namespace

CCircuitTestDlg::CCircuitTestDlg(QWidget* parent, CIrrigationSettings& settings)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("Circuit Test");

    auto* grid = new QGridLayout;
    for (int circuit = 0; circuit < kCircuitCount; ++circuit) {
        auto* caption = new QLabel(kCircuitNames[circuit], this);
        caption->setAlignment(Qt::AlignHCenter);
        auto* button = new QPushButton(kOpen, this);
        button->setCheckable(true);
        button->setAutoDefault(false);
        BindCaption(caption, button);
        grid->addWidget(caption, 0, circuit);
        grid->addWidget(button, 1, circuit);
        buttons_[circuit] = button;
        connect(button, &QPushButton::toggled, this,
                [this, circuit](bool checked) { OnToggled(circuit, checked); });
    }

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    auto* help = new QPushButton("Help", this);
    help->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, &CCircuitTestDlg::OnHelp);
}

CCircuitTestDlg::~CCircuitTestDlg()
{
    StopWorker();
}

bool CCircuitTestDlg::Start()
{
    if (phase_ != Phase::NotStarted) return phase_ == Phase::Testing;
    phase_ = Phase::Reading;
    std::optional<CircuitStates> states;
    {
        WaitCursorGuard wait;
        states = RunLink([] { return ReadCircuitStates(); });
    }
    if (!states) {
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }

    params_ = std::make_unique<CircuitTestThreadParams>(settings_);
    for (int circuit = 0; circuit < kCircuitCount; ++circuit) {
        buttons_[circuit]->setChecked((*states)[circuit]);
        OnToggled(circuit, (*states)[circuit]);
    }
    try {
        worker_ = std::thread(RunCircuitTestWorker, std::ref(*params_));
    } catch (const std::system_error&) {
        params_.reset();
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }
    phase_ = Phase::Testing;
    return true;
}

int CCircuitTestDlg::exec()
{
    if (!Start()) return QDialog::Rejected;
    return QDialog::exec();
}

void CCircuitTestDlg::OnToggled(int circuit, bool closed)
{
    buttons_[circuit]->setText(closed ? kClosed : kOpen);
    // The worker reads the states from here, never from the buttons.
    if (params_) params_->closed[circuit].store(closed);
}

void CCircuitTestDlg::StopWorker()
{
    if (phase_ != Phase::Testing) return;
    phase_ = Phase::Closing;
    params_->stop.store(true);
    {
        // At most the exchange in progress, bounded by the link's time-out.
        WaitCursorGuard wait;
        RunLinkSequence([this] { worker_.join(); });
    }
    params_.reset();
    phase_ = Phase::Closed;
}

void CCircuitTestDlg::done(int result)
{
    StopWorker();
    if (phase_ != Phase::Reading) phase_ = Phase::Closed;
    QDialog::done(result);
}

void CCircuitTestDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}
