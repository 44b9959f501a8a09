#include "SetupCommands.h"

#include "CCommPortDlg.h"
#include "DBConfigParser.h"
#include "FormSupport.h"
#include "LinkSequence.h"
#include "LoggerDetection.h"
#include "Pause.h"
#include "PortFailure.h"
#include "SerialLink.h"
#include "SettingsKeys.h"
#include "UserMessages.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>

#include <cstdio>
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

}  // namespace

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
        UserMessage message;
        message.text = kOpenFailed;
        message.details = details;
        message.parent = owner;
        ShowMessage(message);
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
