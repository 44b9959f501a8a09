#pragma once
#include "loggers/LoggerChecks.h"
#include "loggers/AprsConfig.h"

#include <QDialog>

class CLoggerSettings;
class CNumericEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// "APRS Configuration": time-out, APRS baud, transmission rate and the
// station's position, split into degrees, minutes and seconds, with the
// position text previewed as the logger will receive it.
class CAprsConfigDlg : public QDialog {
    Q_OBJECT
public:
    CAprsConfigDlg(QWidget* parent, CAprsSettings& settings);

    static constexpr const char* kInvalidTimeout = kInvalidTimeout999;
    static constexpr const char* kInvalidBaud = ::kInvalidAprsBaud;
    static constexpr const char* kInvalidRate = ::kInvalidAprsRate;
    static constexpr const char* kInvalidLatDeg = ::kInvalidLatDeg;
    static constexpr const char* kInvalidLatMin = ::kInvalidLatMin;
    static constexpr const char* kInvalidLatSec = ::kInvalidLatSec;
    static constexpr const char* kInvalidLonDeg = ::kInvalidLonDeg;
    static constexpr const char* kInvalidLonMin = ::kInvalidLonMin;
    static constexpr const char* kInvalidLonSec = ::kInvalidLonSec;
    static constexpr const char* kNoLatHemisphere = ::kNoLatHemisphere;
    static constexpr const char* kNoLonHemisphere = ::kNoLonHemisphere;

private slots:
    void RebuildPreview();
    void OnDefault();
    void OnOK();
    void OnHelp();

private:
    struct CoordinateFields {
        CNumericEdit* degrees;
        CNumericEdit* minutes;
        CNumericEdit* seconds;
        QRadioButton* first;   // North or East
        QRadioButton* second;  // South or West
    };

    QWidget* MakeCoordinate(const QString& title, CoordinateFields& fields,
                            const QString& first, const QString& second);
    void LoadCoordinate(const AprsCoordinate& value, CoordinateFields& fields);
    static AprsCoordinate Read(const CoordinateFields& fields);
    void SelectBaud(const std::string& baud);
    void Refuse(const char* message, QWidget* field);

    CAprsSettings& settings_;
    CNumericEdit* timeout_;
    QComboBox* baud_;
    CNumericEdit* rate_;
    CoordinateFields lat_{};
    CoordinateFields lon_{};
    QLineEdit* latPreview_;
    QLineEdit* lonPreview_;
};

// The APRS kind's Configure: runs the form over the record's owner.
void RunAprsConfigForm(CLoggerSettings& record);
