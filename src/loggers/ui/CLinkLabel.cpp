#include "loggers/ui/CLinkLabel.h"

#include "loggers/FirmwareLink.h"
#include "base/UserMessages.h"

#include <QApplication>
#include <QMouseEvent>

CLinkLabel::CLinkLabel(QWidget* parent) : QLabel(parent)
{
    normalFont_ = font();
    underlinedFont_ = normalFont_;
    underlinedFont_.setUnderline(true);
    setMouseTracking(true);
    setAutoFillBackground(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    SetLinkCursor(nullptr);
    Restyle();
}

void CLinkLabel::SetAddress(const QString& address)
{
    address_ = address;
    if (text().isEmpty()) setText(address_);
}

QString CLinkLabel::Address() const
{
    return address_.isEmpty() ? text() : address_;
}

void CLinkLabel::SetUnderlineMode(int mode)
{
    underlineMode_ = mode;
    Restyle();
}

void CLinkLabel::SetVisited(bool visited)
{
    visited_ = visited;
    Restyle();
}

void CLinkLabel::SetColours(const QColor& link, const QColor& visited, const QColor& hover)
{
    link_ = link;
    visitedColour_ = visited;
    hover_ = hover;
    Restyle();
}

QColor CLinkLabel::ShownColour() const
{
    if (hovering_) return hover_;
    return visited_ ? visitedColour_ : link_;
}

void CLinkLabel::SetLinkCursor(const QCursor* cursor)
{
    setCursor(cursor ? *cursor : QCursor(Qt::PointingHandCursor));
}

void CLinkLabel::Restyle()
{
    const bool underline =
        underlineMode_ == UnderlineAlways || (underlineMode_ == UnderlineHover && hovering_);
    setFont(underline ? underlinedFont_ : normalFont_);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    p.setColor(QPalette::WindowText, ShownColour());
    setPalette(p);
    update();
}

int CLinkLabel::OpenLink()
{
    return OpenAddress(Address().toStdString());
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (!hovering_) {
        hovering_ = true;
        Restyle();
    }
    QLabel::mouseMoveEvent(event);
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        Click();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CLinkLabel::Click()
{
    hovering_ = false;
    Restyle();
    const int code = OpenLink();
    if (OpenCodeSucceeded(code)) {
        SetVisited(true);
        return;
    }
    QApplication::beep();
    ShowMessage(UserMessage{"Unable to open hyperlink:\n\n" + ReasonForCode(code), std::nullopt,
                            MsgIcon::Exclamation, MsgButtons::Ok, window()});
}
