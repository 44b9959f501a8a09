#include "shell/CMainFrame.h"

#include "shell/CAboutDlg.h"
#include "shell/CCorvaneModulesDoc.h"
#include "shell/CCorvaneModulesView.h"
#include "base/ui/FormSupport.h"

#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "link/LinkLog.h"
#include "base/NumericText.h"
#include "settings/SettingsKeys.h"
#include "shell/SetupCommands.h"
#include "base/UserMessages.h"

#include <QDate>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    doc_ = new CCorvaneModulesDoc(this);
    view_ = new CCorvaneModulesView(doc_, this);
    setCentralWidget(view_);

    QMenu* setup = menuBar()->addMenu(tr("&Setup"));
    setup->addAction(tr("Setup Communications Port"), view_, &CCorvaneModulesView::OnSetupCommPort);
    setup->addAction(tr("Configure Corvane Logger"), view_, &CCorvaneModulesView::OnConfigureLogger);
    setup->addSeparator();
    setup->addAction(tr("&Back Up Logger Settings..."), this, [this] { BackUpLogger(view_); });
    setup->addAction(tr("&Restore Logger Settings..."), this, [this] { ReviewBackup(view_, true); });
    setup->addAction(tr("&Compare with Backup..."), this, [this] { ReviewBackup(view_, false); });
    setup->addSeparator();
    setup->addAction(tr("E&xit"), this, &QWidget::close);

    QMenu* about = menuBar()->addMenu(tr("&About"));
    about->addAction(tr("&About Corvane Utility..."), this, &CMainFrame::OnAppAbout);
    about->addAction(tr("Save &Link Log..."), this, &CMainFrame::OnSaveLinkLog);

    setWindowTitle(kTitle);
    FitToContent();
}

void CMainFrame::FitToContent()
{
    // Without any screen (all displays gone) nothing bounds the size.
    const QSize available = screen() ? screen()->availableGeometry().size() : QSize(INT_MAX, INT_MAX);
    const int width = std::min(view_->sizeHint().width(), available.width());
    const int height = view_->heightForWidth(width) + menuBar()->sizeHint().height();
    resize(width, std::min(height, available.height()));
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dlg(this);
    RunChildForm(dlg);
}

namespace {

// Lines of eventLog.txt a report carries: the recent errors, not years of them.
constexpr std::size_t kEventLogLines = 40;

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

void CMainFrame::OnSaveLinkLog()
{
    DBConfigParser& settings = Settings();
    const int port = settings.GetInt(key::SerialPort);
    LinkReport report;
    report.program = kTitle;
    const std::string timeout = settings.GetValue(key::LinkTimeoutMs);
    report.port = FormatText("COM%d = %s at %d baud, byte time-out %s", port,
                             settings.GetValue(FormatText(key::ComDeviceFormat, port)).c_str(),
                             settings.GetInt(key::BaudRate),
                             timeout.empty() ? "as built in" : (timeout + " ms").c_str());
    report.traffic = ProgramLinkLog().Text();
    report.eventLogTail = LastLines(ReadWholeFile(Log().Path()), kEventLogLines);
    const std::string text = FormatLinkReport(report, std::chrono::system_clock::now());

    const auto path = ChooseFile(
        view_, tr("Save Link Log"), true,
        QString("Corvane link log %1.txt").arg(QDate::currentDate().toString(Qt::ISODate)));
    if (!path) return;
    std::ofstream out(*path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        ShowMessage("Could not write the link log to " + path->string() + ".");
        return;
    }
    ShowMessage("Link log saved to " + path->string() + ".");
}
