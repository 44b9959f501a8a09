#pragma once
// What a backup file would change on the logger: a table of every setting
// that differs (on the logger, in the file), the refusals with the forms'
// own messages, or that there is nothing to do. For a restore OK writes the
// changes; a comparison only shows them. The table copies as text.
#include "cli/LoggerBackup.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;

class CBackupReviewDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kRestoreTitle = "Restore Logger Settings";
    static constexpr const char* kCompareTitle = "Compare with Backup";

    CBackupReviewDlg(QWidget* parent, const QString& file, const RestorePlan& plan, bool restore);

    // The summary line, the table's header and rows, and the refusals, as
    // tab-separated lines.
    QString Text() const;

private:
    void OnCopy();

    QLabel* summary_;
    QTableWidget* table_;
    QStringList refusals_;
};
