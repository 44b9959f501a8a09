#include "CMainFrame.h"

#include "CAboutDlg.h"
#include "CCorvaneModulesDoc.h"
#include "CCorvaneModulesView.h"
#include "FormSupport.h"

#include <QMenuBar>
#include <QScreen>

#include <algorithm>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    doc_ = new CCorvaneModulesDoc(this);
    view_ = new CCorvaneModulesView(doc_, this);
    setCentralWidget(view_);

    QMenu* setup = menuBar()->addMenu(tr("&Setup"));
    setup->addAction(tr("Setup Communications Port"), view_, &CCorvaneModulesView::OnSetupCommPort);
    setup->addAction(tr("Configure Corvane Logger"), view_, &CCorvaneModulesView::OnConfigureLogger);
    setup->addSeparator();
    setup->addAction(tr("E&xit"), this, &QWidget::close);

    QMenu* about = menuBar()->addMenu(tr("&About"));
    about->addAction(tr("&About Corvane Utility..."), this, &CMainFrame::OnAppAbout);

    setWindowTitle(kTitle);
    FitToContent();
}

void CMainFrame::FitToContent()
{
    const QSize available = screen()->availableGeometry().size();
    const int width = std::min(view_->sizeHint().width(), available.width());
    const int height = view_->heightForWidth(width) + menuBar()->sizeHint().height();
    resize(width, std::min(height, available.height()));
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dlg(this);
    RunChildForm(dlg);
}
