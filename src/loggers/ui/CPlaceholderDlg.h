#pragma once
#include <QDialog>
#include <QString>

// Stands in for a form this version does not have yet, so a logger of that
// kind is recognised and the user is told plainly, with nothing written.
class CPlaceholderDlg : public QDialog {
    Q_OBJECT
public:
    CPlaceholderDlg(QWidget* parent, const QString& title);

    static QString Text();
};

// Runs the placeholder over owner (an OwnerWindow, i.e. a QWidget* or null).
void ShowPlaceholderForm(void* owner, const QString& title);
