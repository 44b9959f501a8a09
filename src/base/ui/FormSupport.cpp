#include "base/ui/FormSupport.h"

#include "base/ui/CNumericEdit.h"
#include "base/DesktopOpen.h"
#include "base/LinkSequence.h"
#include "base/ui/UiLinkRunner.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QMessageBox>
#include <QThread>
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

QLabel* AddCaptionedRow(QGridLayout* grid, int row, QWidget* owner, const QString& caption,
                        QWidget* field, const QString& unit)
{
    auto* label = new QLabel(caption, owner);
    BindCaption(label, field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    if (unit.isEmpty()) return nullptr;
    auto* unitLabel = new QLabel(unit, owner);
    grid->addWidget(unitLabel, row, 2);
    return unitLabel;
}

CNumericEdit* AddNumericRow(QGridLayout* grid, int row, QWidget* owner, const QString& caption,
                            const QString& unit, QLabel** unitLabel)
{
    auto* field = new CNumericEdit(owner);
    QLabel* u = AddCaptionedRow(grid, row, owner, caption, field, unit);
    if (unitLabel) *unitLabel = u;
    return field;
}

QLabel* AddLoggerTypeRow(QGridLayout* grid, int row, QWidget* owner, const QString& caption,
                         const QString& text)
{
    auto* line = new QLabel(owner);
    // The identification comes from the device: never read it as markup.
    line->setTextFormat(Qt::PlainText);
    line->setText(text);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* label = new QLabel(caption, owner);
    BindCaption(label, line);
    grid->addWidget(label, row, 0);
    grid->addWidget(line, row, 1, 1, 2);
    return line;
}

namespace {

// A titled group of two radio buttons, one above the other.
QGroupBox* RadioPair(QWidget* owner, const char* title, QRadioButton** first,
                     const char* firstText, QRadioButton** second, const char* secondText)
{
    auto* group = new QGroupBox(title, owner);
    auto* layout = new QVBoxLayout(group);
    *first = new QRadioButton(firstText, group);
    *second = new QRadioButton(secondText, group);
    layout->addWidget(*first);
    layout->addWidget(*second);
    return group;
}

}  // namespace

QHBoxLayout* RelayOptionGroups(QWidget* owner, QRadioButton** continuous, QRadioButton** pulse,
                               QRadioButton** normallyOpen, QRadioButton** normallyClosed)
{
    auto* row = new QHBoxLayout;
    row->addWidget(RadioPair(owner, "Alarm Activation", continuous, "Continuous", pulse, "Pulse"));
    row->addWidget(RadioPair(owner, "Circuit Behavior", normallyOpen, "Normally Open",
                             normallyClosed, "Normally Closed"));
    return row;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    bool first = true;
    for (QPushButton* b : buttons) {
        // Enter presses OK, not whichever button last had the focus.
        b->setDefault(first);
        b->setAutoDefault(false);
        first = false;
        row->addWidget(b);
    }
    return row;
}

void WriteThenAccept(QDialog& form, const std::function<bool()>& write)
{
    WaitCursorGuard wait;
    const bool written = RunLink(write);
    wait.Restore();
    if (!written) {
        ShowMessage(UserMessage{kLoggerWriteFailed, std::nullopt, MsgIcon::None, MsgButtons::Ok, &form});
        return;
    }
    form.accept();
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
        // Messages quote what the user typed and what the device sent.
        box.setTextFormat(Qt::PlainText);
        box.setText(QString::fromStdString(m.text));
        if (!m.details.empty()) {
            box.setInformativeText(QString::fromStdString(m.details));
            // The details quote device paths and settings: plain text too.
            if (auto* info = box.findChild<QLabel*>("qt_msgbox_informativelabel"))
                info->setTextFormat(Qt::PlainText);
        }
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
        // Cursor changes from a link sequence's thread go over in order,
        // without waiting: the UI thread may be joining that thread.
        if (qApp && QThread::currentThread() != qApp->thread()) {
            PostToUiThread([this, wait] { SetWaitCursor(wait); });
            return;
        }
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
    SetUiThreadInvoker(InvokeOnUiThread);
    SetLinkSequenceRunner(RunSequenceKeepingUiAlive);
    SetDesktopOpener([](const std::string& target, bool isFile) {
        const QString t = QString::fromStdString(target);
        const QUrl url = isFile ? QUrl::fromLocalFile(t) : QUrl(t);
        if (QDesktopServices::openUrl(url)) return OpenResult{true, {}};
        return OpenResult{false, "The desktop has no application to open " + target + "."};
    });
}
