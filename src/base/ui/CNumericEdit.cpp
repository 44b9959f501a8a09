#include "base/ui/CNumericEdit.h"

#include "base/NumericText.h"

#include <QKeyEvent>

CNumericEdit::CNumericEdit(QWidget* parent) : QLineEdit(parent) {}

bool CNumericEdit::FilterTypedChar(unsigned int code) const
{
    // Non-ASCII characters always pass.
    if (code > 127) return false;
    return IsRejectedTypedChar(code, m_bAllowMinus);
}

void CNumericEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.size() == 1 && FilterTypedChar(text.at(0).unicode())) {
        event->accept();  // swallowed: nothing inserted, no beep
        return;
    }
    QLineEdit::keyPressEvent(event);
}
