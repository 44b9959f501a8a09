#pragma once
// The single-line field of every number the user types: swallows letters and
// most punctuation as they are typed, silently. Pasted text is not filtered;
// the forms check the whole text at OK with the numeric text rule.

#include <QLineEdit>
#include <QString>

class CNumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    // When false, the minus sign is swallowed as well.
    bool m_bAllowMinus = true;
    // The text the owning form last loaded; the field never sets it.
    QString m_loadedText;

    // The typed-character handler: true when the character was swallowed.
    bool FilterTypedChar(unsigned int code) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
