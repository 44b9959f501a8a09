#include "shell/CBackupReviewDlg.h"

#include "base/ui/FormSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Plain(const std::string& text)
{
    return QString::fromStdString(text);
}

QLabel* PlainLabel(const QString& text, QWidget* owner)
{
    auto* label = new QLabel(text, owner);
    label->setTextFormat(Qt::PlainText);  // file names and values are shown as they are
    label->setWordWrap(true);
    return label;
}

QString Summary(const QString& file, const RestorePlan& plan, bool restore)
{
    if (!plan.refusals.empty())
        return QObject::tr("%1 cannot be written to the logger as it is; nothing will be sent:").arg(file);
    if (plan.lines.empty() && plan.NothingToWrite())
        return QObject::tr("The logger already holds this configuration; nothing to write.");
    if (!restore) return QObject::tr("The logger differs from %1 in:").arg(file);
    if (plan.clearsLog)
        return QObject::tr("OK writes these changes to the logger and clears its alarm event log:");
    return QObject::tr("OK writes these changes to the logger:");
}

}  // namespace

CBackupReviewDlg::CBackupReviewDlg(QWidget* parent, const QString& file, const RestorePlan& plan,
                                   bool restore)
    : QDialog(parent)
{
    const QString title = restore ? kRestoreTitle : kCompareTitle;
    setWindowTitle(title);
    setAccessibleName(title);
    auto* layout = new QVBoxLayout(this);

    summary_ = PlainLabel(Summary(file, plan, restore), this);
    summary_->setAccessibleName(tr("Summary"));
    layout->addWidget(summary_);

    table_ = new QTableWidget(0, 3, this);
    table_->setAccessibleName(tr("Changes"));
    table_->setHorizontalHeaderLabels({tr("Setting"), tr("On the logger"), tr("In the file")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    for (const ReviewLine& line : plan.lines) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        // A conditions line stands for the output's logic.
        const QString prefix = line.kind == ReviewLine::Conditions ? tr("logic ") : QString();
        const QString cells[] = {Plain(line.setting), prefix + Plain(line.held), prefix + Plain(line.wanted)};
        for (int column = 0; column < 3; ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setVisible(!plan.lines.empty());
    layout->addWidget(table_);

    if (!plan.refusals.empty()) {
        auto* list = new QListWidget(this);
        list->setAccessibleName(tr("Refusals"));
        for (const std::string& refusal : plan.refusals) refusals_ << Plain(refusal);
        list->addItems(refusals_);
        layout->addWidget(list);
    }

    auto* copy = new QPushButton(tr("&Copy"), this);
    connect(copy, &QPushButton::clicked, this, &CBackupReviewDlg::OnCopy);
    if (restore) {
        auto* ok = new QPushButton(tr("OK"), this);
        auto* cancel = new QPushButton(tr("Cancel"), this);
        // Nothing is sent while any value is refused.
        ok->setEnabled(plan.refusals.empty());
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        layout->addLayout(ButtonRow({ok, cancel, copy}));
    } else {
        auto* close = new QPushButton(tr("Close"), this);
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
        layout->addLayout(ButtonRow({close, copy}));
    }
    resize(640, plan.lines.empty() ? 200 : 420);
}

QString CBackupReviewDlg::Text() const
{
    QString text = summary_->text() + "\n";
    if (table_->rowCount() > 0) {
        for (int column = 0; column < 3; ++column)
            text += table_->horizontalHeaderItem(column)->text() + (column < 2 ? "\t" : "\n");
        for (int row = 0; row < table_->rowCount(); ++row)
            for (int column = 0; column < 3; ++column)
                text += table_->item(row, column)->text() + (column < 2 ? "\t" : "\n");
    }
    for (const QString& refusal : refusals_) text += refusal + "\n";
    return text;
}

void CBackupReviewDlg::OnCopy()
{
    QApplication::clipboard()->setText(Text());
}
