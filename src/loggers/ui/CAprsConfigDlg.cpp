#include "loggers/ui/CAprsConfigDlg.h"

#include "base/ui/CNumericEdit.h"
#include "base/ui/FormSupport.h"
#include "base/NumericText.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kDefaultTimeout = "5";
constexpr const char* kDefaultBaud = "9600";
constexpr const char* kDefaultRate = "5";
constexpr const char* kHelpFile = "APRSHelp.txt";

std::string Text(const QLineEdit* field)
{
    return field->text().toStdString();
}

Hemisphere Chosen(const QRadioButton* first, const QRadioButton* second)
{
    if (first->isChecked()) return Hemisphere::NorthOrEast;
    if (second->isChecked()) return Hemisphere::SouthOrWest;
    return Hemisphere::None;
}

}  // namespace

CAprsConfigDlg::CAprsConfigDlg(QWidget* parent, CAprsSettings& settings)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("APRS Configuration");

    auto* top = new QGridLayout;
    AddLoggerTypeRow(top, 0, this, "Logger Type:",
                     QString::fromStdString(FormatIdentification(settings_.identification)));
    timeout_ = AddNumericRow(top, 1, this, "Time Out Period", "sec.");

    baud_ = new QComboBox(this);
    baud_->setEditable(true);
    baud_->setInsertPolicy(QComboBox::NoInsert);
    baud_->setCompleter(nullptr);  // the text stays exactly as typed
    for (const char* entry : kAprsBaudEntries) baud_->addItem(entry);
    AddCaptionedRow(top, 2, this, "APRS Baud Rate", baud_);

    rate_ = AddNumericRow(top, 3, this, "Transmission Rate", "minutes");

    QWidget* latitude = MakeCoordinate("Latitude", lat_, "North", "South");
    QWidget* longitude = MakeCoordinate("Longitude", lon_, "East", "West");

    auto* preview = new QHBoxLayout;
    auto* previewCaption = new QLabel("APRS String", this);
    latPreview_ = new QLineEdit(kAprsPreviewInitial, this);
    lonPreview_ = new QLineEdit(kAprsPreviewInitial, this);
    for (QLineEdit* line : {latPreview_, lonPreview_}) {
        line->setReadOnly(true);
        line->setFocusPolicy(Qt::NoFocus);
    }
    BindCaption(previewCaption, latPreview_);
    latPreview_->setAccessibleName("APRS String Latitude");
    lonPreview_->setAccessibleName("APRS String Longitude");
    preview->addWidget(previewCaption);
    preview->addWidget(latPreview_);
    preview->addWidget(lonPreview_);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* defaults = new QPushButton("Default", this);
    auto* help = new QPushButton("Help", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel, defaults, help});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(latitude);
    layout->addWidget(longitude);
    layout->addLayout(preview);
    layout->addLayout(buttons);

    timeout_->setText(QString::fromStdString(settings_.timeout));
    rate_->setText(QString::fromStdString(settings_.transmissionRate));
    SelectBaud(settings_.baud);
    if (const auto position = ParseAprsPosition(settings_.position)) {
        LoadCoordinate(position->latitude, lat_);
        LoadCoordinate(position->longitude, lon_);
    }
    RebuildPreview();

    for (const CoordinateFields* f : {&lat_, &lon_}) {
        for (CNumericEdit* field : {f->degrees, f->minutes, f->seconds})
            connect(field, &QLineEdit::textChanged, this, &CAprsConfigDlg::RebuildPreview);
        for (QRadioButton* button : {f->first, f->second})
            connect(button, &QRadioButton::clicked, this, &CAprsConfigDlg::RebuildPreview);
    }
    connect(ok, &QPushButton::clicked, this, &CAprsConfigDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CAprsConfigDlg::OnDefault);
    connect(help, &QPushButton::clicked, this, &CAprsConfigDlg::OnHelp);
}

QWidget* CAprsConfigDlg::MakeCoordinate(const QString& title, CoordinateFields& fields,
                                        const QString& first, const QString& second)
{
    auto* group = new QGroupBox(title, this);
    auto* grid = new QGridLayout(group);
    CNumericEdit** edits[] = {&fields.degrees, &fields.minutes, &fields.seconds};
    const char* captions[] = {"Deg", "Min", "Sec"};
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(captions[i], group);
        *edits[i] = new CNumericEdit(group);
        BindCaption(caption, *edits[i]);
        // "Deg" alone is ambiguous to a screen reader: name the half too.
        (*edits[i])->setAccessibleName(title + " " + captions[i]);
        grid->addWidget(caption, 0, i);
        grid->addWidget(*edits[i], 1, i);
    }
    fields.first = new QRadioButton(first, group);
    fields.second = new QRadioButton(second, group);
    auto* pair = new QButtonGroup(group);
    pair->addButton(fields.first);
    pair->addButton(fields.second);
    grid->addWidget(fields.first, 0, 3);
    grid->addWidget(fields.second, 1, 3);
    return group;
}

void CAprsConfigDlg::LoadCoordinate(const AprsCoordinate& value, CoordinateFields& fields)
{
    fields.degrees->setText(QString::fromStdString(value.degrees));
    fields.minutes->setText(QString::fromStdString(value.minutes));
    fields.seconds->setText(QString::fromStdString(value.seconds));
    if (value.hemisphere == Hemisphere::NorthOrEast) fields.first->setChecked(true);
    if (value.hemisphere == Hemisphere::SouthOrWest) fields.second->setChecked(true);
}

AprsCoordinate CAprsConfigDlg::Read(const CoordinateFields& fields)
{
    return AprsCoordinate{Text(fields.degrees), Text(fields.minutes), Text(fields.seconds),
                          Chosen(fields.first, fields.second)};
}

void CAprsConfigDlg::SelectBaud(const std::string& baud)
{
    const auto entry = FindAprsBaudEntry(baud);
    baud_->setCurrentIndex(entry ? baud_->findText(QString::fromStdString(*entry)) : -1);
    if (!entry) baud_->setEditText(QString());
}

void CAprsConfigDlg::RebuildPreview()
{
    latPreview_->setText(QString::fromStdString(BuildLatitudePreview(Read(lat_))));
    lonPreview_->setText(QString::fromStdString(BuildLongitudePreview(Read(lon_))));
}

void CAprsConfigDlg::OnDefault()
{
    timeout_->setText(kDefaultTimeout);
    SelectBaud(kDefaultBaud);
    rate_->setText(kDefaultRate);
}

void CAprsConfigDlg::Refuse(const char* message, QWidget* field)
{
    ShowMessage(UserMessage{message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
    field->setFocus();
}

void CAprsConfigDlg::OnOK()
{
    AprsTexts texts{Text(timeout_), baud_->currentText().toStdString(), Text(rate_),
                    AprsPosition{Read(lat_), Read(lon_)}};
    if (const CheckResult refusal = ApplyAprsTexts(texts, settings_)) {
        QWidget* fields[] = {timeout_,     baud_,       rate_,       lat_.degrees,
                             lat_.minutes, lat_.seconds, lon_.degrees, lon_.minutes,
                             lon_.seconds, lat_.first,   lon_.first};
        Refuse(refusal->message.c_str(), fields[refusal->field]);
        return;
    }
    RebuildPreview();

    WriteThenAccept(*this, [this] { return WriteAprsSettings(settings_); });
}

void CAprsConfigDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}

void RunAprsConfigForm(CLoggerSettings& record)
{
    auto* aprs = dynamic_cast<CAprsSettings*>(&record);
    if (!aprs) return;
    CAprsConfigDlg dlg(static_cast<QWidget*>(record.owner), *aprs);
    RunChildForm(dlg);
}
