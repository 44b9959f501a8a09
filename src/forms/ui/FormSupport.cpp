#include "FormSupport.h"

#include "DesktopOpen.h"
#include "UserMessages.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>

QString CaptionName(const QString& caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    return name.trimmed();
}

void BindCaption(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    field->setAccessibleName(CaptionName(label->text()));
}

namespace {

FormRunner& Runner()
{
    static FormRunner runner;
    return runner;
}

class QtUserMessages final : public UserMessages {
public:
    MsgAnswer Show(const UserMessage& m) override
    {
        QMessageBox box(static_cast<QWidget*>(m.parent));
        box.setWindowTitle(QString::fromStdString(m.caption ? *m.caption : kApplicationName));
        box.setText(QString::fromStdString(m.text));
        switch (m.icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        }
        if (m.buttons == MsgButtons::OkCancel)
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        else
            box.setStandardButtons(QMessageBox::Ok);
        // A message must be readable even while the wait cursor is up.
        const bool wait = WaitCursorDepth() > 0;
        if (wait) QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int r = box.exec();
        if (wait) QApplication::restoreOverrideCursor();
        return r == QMessageBox::Cancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
    }
};

class QtCursorSink final : public CursorSink {
public:
    void SetWaitCursor(bool wait) override
    {
        if (wait)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
};

}  // namespace

FormRunner SetFormRunner(FormRunner runner)
{
    FormRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}

int RunChildForm(QDialog& dialog)
{
    if (Runner()) return Runner()(dialog);
    return dialog.exec();
}

void InstallQtSeams()
{
    static QtUserMessages messages;
    static QtCursorSink cursor;
    SetUserMessages(&messages);
    SetCursorSink(&cursor);
    SetDesktopOpener([](const std::string& target, bool isFile) {
        const QString t = QString::fromStdString(target);
        const QUrl url = isFile ? QUrl::fromLocalFile(t) : QUrl(t);
        if (QDesktopServices::openUrl(url)) return OpenResult{true, {}};
        return OpenResult{false, "The desktop has no application to open " + target + "."};
    });
}
