#include "loggers/ui/CFirmwareWarningDlg.h"

#include "loggers/ui/CLinkLabel.h"
#include "loggers/FirmwareLink.h"
#include "base/ui/FormSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CFirmwareWarningDlg::CFirmwareWarningDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Firmware Upgrade Warning");

    auto* text = new QLabel(kText, this);
    text->setWordWrap(true);

    link_ = new CLinkLabel(this);
    link_->setText(kFirmwareDownloadAddress);
    link_->SetAddress(kFirmwareDownloadAddress);
    link_->SetUnderlineMode(CLinkLabel::UnderlineAlways);
    link_->setAlignment(Qt::AlignHCenter);
    link_->setAccessibleName(kFirmwareDownloadAddress);

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(link_, 0, Qt::AlignHCenter);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void ShowFirmwareWarning(OwnerWindow owner)
{
    CFirmwareWarningDlg dlg(static_cast<QWidget*>(owner));
    RunChildForm(dlg);
}
