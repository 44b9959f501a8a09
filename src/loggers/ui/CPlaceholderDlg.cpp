#include "loggers/ui/CPlaceholderDlg.h"

#include "base/ui/FormSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CPlaceholderDlg::CPlaceholderDlg(QWidget* parent, const QString& title) : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(Text(), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

QString CPlaceholderDlg::Text()
{
    return QStringLiteral(
        "This version of the Corvane Utility cannot show this form yet.  Nothing has been "
        "changed in the logger.");
}

void ShowPlaceholderForm(void* owner, const QString& title)
{
    CPlaceholderDlg dlg(static_cast<QWidget*>(owner), title);
    RunChildForm(dlg);
}
