#include "CCorvaneModulesView.h"

#include "SetupCommands.h"

#include <QPainter>

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
    return rect().adjusted(60, 0, -60, 0);
}

void CCorvaneModulesView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawText(TextRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, InstructionText());
}

void CCorvaneModulesView::OnSetupCommPort()
{
    SetupCommPort(this);
}

void CCorvaneModulesView::OnConfigureLogger()
{
    ConfigureLogger(this);
}
