#include "shell/CCorvaneModulesView.h"

#include "shell/SetupCommands.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace {
constexpr int kMargin = 60;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
// Lines of about this width read comfortably at the usual fonts.
constexpr int kPreferredBand = 600;
}  // namespace

CCorvaneModulesView::CCorvaneModulesView(CCorvaneModulesDoc* doc, QWidget* parent)
    : QWidget(parent), doc_(doc)
{
    setObjectName("CCorvaneModulesView");
    setAccessibleName("Instructions");
    setAccessibleDescription(InstructionText());
    setAutoFillBackground(true);
}

QString CCorvaneModulesView::InstructionText()
{
    return QStringLiteral(
        "\n\nSelect Setup Communications Port on the Setup menu to select the correct COM port and "
        "baud rate to communicate to the Corvane Logger.\n\nSelect Configure Corvane Logger on the "
        "Setup menu to configure your data logger's streaming data settings.\n\nUse Quenlow(tm) to "
        "configure your data logger's logging settings.");
}

QRect CCorvaneModulesView::TextRect() const
{
    return rect().adjusted(kMargin, 0, -kMargin, 0);
}

int CCorvaneModulesView::heightForWidth(int width) const
{
    const int band = std::max(1, width - 2 * kMargin);
    // One spare line keeps the last one clear of the window's lower edge.
    const QFontMetrics metrics(font());
    return metrics.boundingRect(QRect(0, 0, band, INT_MAX / 2), kTextFlags, InstructionText())
               .height() +
           metrics.lineSpacing();
}

QSize CCorvaneModulesView::sizeHint() const
{
    const int width = kPreferredBand + 2 * kMargin;
    return {width, heightForWidth(width)};
}

void CCorvaneModulesView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawText(TextRect(), kTextFlags, InstructionText());
}

void CCorvaneModulesView::OnSetupCommPort()
{
    SetupCommPort(this);
}

void CCorvaneModulesView::OnConfigureLogger()
{
    ConfigureLogger(this);
}
