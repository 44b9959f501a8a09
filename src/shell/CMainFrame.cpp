#include "CMainFrame.h"

#include "CAboutDlg.h"
#include "CCorvaneModulesDoc.h"
#include "CCorvaneModulesView.h"
#include "FormSupport.h"

#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <climits>

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
    // Without any screen (all displays gone) nothing bounds the size.
    const QSize available = screen() ? screen()->availableGeometry().size() : QSize(INT_MAX, INT_MAX);
    const int width = std::min(view_->sizeHint().width(), available.width());
    const int height = view_->heightForWidth(width) + menuBar()->sizeHint().height();
    resize(width, std::min(height, available.height()));
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dlg(this);
    RunChildForm(dlg);
}
