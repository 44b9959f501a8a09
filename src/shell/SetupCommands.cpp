#include "shell/SetupCommands.h"

#include "shell/CBackupReviewDlg.h"
#include "link/ui/CCommPortDlg.h"
#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "link/LinkChoice.h"
#include "base/LinkSequence.h"
#include "cli/LoggerBackup.h"
#include "detect/LoggerDetection.h"
#include "base/Pause.h"
#include "link/PortFailure.h"
#include "link/SerialLink.h"
#include "settings/SettingsKeys.h"
#include "base/ui/StepProgress.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QPointer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

constexpr const char* kOpenFailed =
    "Failed to open comm port.  Please check settings and connections";
// The console needs this rest after the port closes before the next open.
constexpr int kAfterClosePauseMs = 2000;

std::string Decimal(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

// The wait cursor stays up while a logger form is being built (the alarm
// output form reads the module then), but a form the user works in shows the
// arrow. Qt's override cursor would otherwise cover the whole form.
class ArrowOverForms : public QObject {
public:
    ArrowOverForms()
    {
        if (qApp) qApp->installEventFilter(this);
    }
    ~ArrowOverForms() override
    {
        if (qApp) qApp->removeEventFilter(this);
        // A form destroyed while shown never reported its Hide.
        for (std::size_t i = 0; i < arrowed_.size(); ++i) QApplication::restoreOverrideCursor();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (!dialog || !dialog->isWindow()) return false;
        if (event->type() == QEvent::Show && WaitCursorDepth() > 0 && !Holds(dialog)) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            arrowed_.push_back(dialog);
        } else if (event->type() == QEvent::Hide && Holds(dialog)) {
            std::erase(arrowed_, QPointer<QDialog>(dialog));
            QApplication::restoreOverrideCursor();
        }
        return false;
    }

private:
    bool Holds(QDialog* dialog) const
    {
        for (const auto& form : arrowed_)
            if (form == dialog) return true;
        return false;
    }
    std::vector<QPointer<QDialog>> arrowed_;
};

void Show(QWidget* owner, const std::string& text, const std::string& details = {})
{
    UserMessage message;
    message.text = text;
    message.details = details;
    message.parent = owner;
    ShowMessage(message);
}

// Reads the whole logger under a progress window that can stop the read;
// null when it failed (said) or the user cancelled.
std::unique_ptr<CliLogger> ReadWithProgress(QWidget* owner, const QString& title,
                                            const AomUnitSettings& units, RowValues values,
                                            bool extraSensors)
{
    StepProgress progress(owner, title, true);
    LoggerRead read = RunLink([&] {
        LoggerRead r = ReadLogger(owner, true, units, values, extraSensors,
                                  [&](const std::string& step) { return progress.Step(step); });
        // Detection rested after its close; the outputs' read closes again.
        if (r.reopened) PauseMs(kAfterClosePauseMs);
        return r;
    });
    if (progress.Cancelled()) return nullptr;
    if (!read.logger && !read.message.empty()) Show(owner, read.message, read.details);
    return std::move(read.logger);
}

}  // namespace

std::optional<std::filesystem::path> ChooseFile(QWidget* owner, const QString& title, bool save,
                                                const QString& name)
{
    DBConfigParser& settings = Settings();
    std::string folder = settings.GetValue(key::LastSaveFolder);
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec))
        folder = settings.WorkingDirectory().string();
    QFileDialog dialog(owner, title, QString::fromStdString(folder));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({QObject::tr("Text files (*.txt)"), QObject::tr("All files (*)")});
    if (save) dialog.setDefaultSuffix("txt");
    if (!name.isEmpty()) dialog.selectFile(name);
    dialog.setAccessibleName(title);
    if (RunChildForm(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::filesystem::path path = dialog.selectedFiles().front().toStdString();
    settings.SetValue(key::LastSaveFolder, path.parent_path().string());
    return path;
}

void SetupCommPort(QWidget* owner)
{
    DBConfigParser& settings = Settings();
    const int port = settings.GetInt(key::SerialPort);
    const int baud = settings.GetInt(key::BaudRate);

    CCommPortDlg dlg(owner, port, baud);
    if (RunChildForm(dlg) != QDialog::Accepted) return;
    settings.SetValue(key::SerialPort, Decimal(dlg.Port()));
    settings.SetValue(key::BaudRate, Decimal(dlg.Baud()));
}

void ConfigureLogger(QWidget* owner)
{
    std::unique_ptr<CLoggerSettings> record;
    {
        WaitCursorGuard wait;
        record = RunLink([owner] { return DetectAndReadLogger(owner); });
    }
    if (!record) return;

    DBConfigParser& settings = Settings();
    const int port = settings.GetInt(key::SerialPort);
    const int baud = settings.GetInt(key::BaudRate);
    std::string details;
    if (RunLink([port, baud, &details] {
            if (OpenLink(port, baud) == 0) return 0;
            details = LastPortFailureDetails();
            return -1;
        }) != 0) {
        // The record is dropped unseen as it goes out of scope.
        Show(owner, kOpenFailed, details);
        return;
    }

    {
        WaitCursorGuard wait;
        ArrowOverForms arrow;
        record->Configure();
    }
    record.reset();

    WaitCursorGuard wait;
    RunLinkSequence([] {
        LinkClose();
        PauseMs(kAfterClosePauseMs);
    });
}

void BackUpLogger(QWidget* owner)
{
    const QString title = QObject::tr("Back Up Logger Settings");
    LoadAomUnitSettings();
    // Values at the module's own resolution: restored, they give its very text.
    const auto logger = ReadWithProgress(owner, title, kModuleUnits, RowValues::Exact, false);
    if (!logger) return;
    std::string error;
    const std::string text = BackupText(*logger, "the Corvane Utility", error);
    if (text.empty()) return Show(owner, error);
    const char* kind = KindWord(logger->record->kind);
    const auto path = ChooseFile(
        owner, title, true,
        QString("%1 backup %2.txt").arg(kind, QDate::currentDate().toString(Qt::ISODate)));
    if (!path) return;
    errno = 0;
    std::ofstream file(*path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
        return Show(owner, "Could not write the backup to " + path->string() + ": " +
                               std::strerror(errno ? errno : EIO));
    Show(owner, std::string("Backup of the ") + kind + " logger written to " + path->string() + ".");
}

void ReviewBackup(QWidget* owner, bool restore)
{
    const QString title = restore ? CBackupReviewDlg::kRestoreTitle : CBackupReviewDlg::kCompareTitle;
    const auto path = ChooseFile(owner, title, false);
    if (!path) return;
    const std::string name = path->filename().string();
    std::error_code ec;
    errno = 0;
    std::ifstream in(*path, std::ios::binary);
    if (!in || std::filesystem::is_directory(*path, ec))
        return Show(owner, "Cannot read " + name + ": " +
                               std::strerror(std::filesystem::is_directory(*path, ec) ? EISDIR
                                             : errno                                  ? errno
                                                                                      : EIO),
                    "Nothing was sent to the logger.");
    std::string error;
    const std::optional<BackupContent> file = ParseBackup(in, error);
    if (!file) return Show(owner, name + ": " + error, "Nothing was sent to the logger.");

    LoadAomUnitSettings();
    const AomUnitSettings units = file->units.value_or(kModuleUnits);
    const auto logger = ReadWithProgress(owner, title, units, RowValues::Shown, NamesExtraSensor(*file));
    if (!logger) return;
    CLoggerSettings& record = *logger->record;
    if (const std::string other = OtherKindText(*file, record); !other.empty())
        return Show(owner, name + " " + other, "Nothing was sent to the logger.");
    const RestorePlan plan = PlanRestore(*file, *logger, units);
    CBackupReviewDlg review(owner, QString::fromStdString(name), plan, restore);
    if (RunChildForm(review) != QDialog::Accepted || !restore || !plan.refusals.empty()) return;
    // The rain unit lives in config.txt, not in the logger.
    StoreLocalSettings(record);
    if (plan.NothingToWrite()) return;
    // Changing an output's conditions clears the alarm event log.
    if (plan.clearsLog && ShowMessage(UserMessage{kClearWarning, std::string("Please Note"),
                                                  MsgIcon::Exclamation, MsgButtons::OkCancel,
                                                  owner}) != MsgAnswer::Ok)
        return;

    std::string details;
    RestoreResult result;
    {
        StepProgress progress(owner, title, false);
        result = RunLink([&] {
            RestoreResult r;
            if (OpenLink(ChosenPort(), ChosenBaud()) != 0) {
                r.ok = false;
                r.failure = kOpenFailed;
                details = LastPortFailureDetails() + "\n";
                return r;
            }
            r = WriteRestore(record, plan, [&](const std::string& step) { return progress.Step(step); });
            LinkClose();
            PauseMs(kAfterClosePauseMs);
            return r;
        });
    }
    if (!result.ok)
        return Show(owner, result.failure,
                    details + (result.written.empty() ? "Nothing was written to the logger." : result.WrittenText()));
    Show(owner, "The logger now holds the configuration in " + name + ".");
}
