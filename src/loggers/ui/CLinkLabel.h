#pragma once
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>

#include <optional>

// A text label that looks and behaves like a web link: it opens its address
// in the desktop's browser when clicked, and says why when it cannot.
class CLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit CLinkLabel(QWidget* parent = nullptr);

    static constexpr QColor kLinkColour{0, 0, 238};
    static constexpr QColor kVisitedColour{85, 26, 139};
    static constexpr QColor kHoverColour{0, 0, 238};

    enum UnderlineMode { UnderlineHover = -1, UnderlineNever = 0, UnderlineAlways = 1 };

    // An empty address means the caption is the address; an empty caption
    // shows the address.
    void SetAddress(const QString& address);
    QString Address() const;

    void SetUnderlineMode(int mode);
    int UnderlineModeValue() const { return underlineMode_; }

    void SetVisited(bool visited);
    bool Visited() const { return visited_; }
    bool Hovering() const { return hovering_; }

    void SetColours(const QColor& link, const QColor& visited, const QColor& hover);
    QColor ShownColour() const;

    // nullptr: the pointing hand.
    void SetLinkCursor(const QCursor* cursor);

protected:
    // Opens the address; a result code above 32 is success.
    virtual int OpenLink();

    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Click();
    void Restyle();

    QString address_;
    QColor link_ = kLinkColour;
    QColor visitedColour_ = kVisitedColour;
    QColor hover_ = kHoverColour;
    bool hovering_ = false;
    bool visited_ = false;
    int underlineMode_ = UnderlineHover;
    QFont normalFont_;
    QFont underlinedFont_;
};
