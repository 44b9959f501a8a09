#include "CCorvaneModulesApp.h"

#include "CMainFrame.h"
#include "FormSupport.h"
#include "RegisterForms.h"

CCorvaneModulesApp::CCorvaneModulesApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Corvane Utility");
    setApplicationVersion("2.0.0");
}

CCorvaneModulesApp::~CCorvaneModulesApp() = default;

bool CCorvaneModulesApp::InitInstance()
{
    InstallQtSeams();
    RegisterAllForms();
    frame_ = std::make_unique<CMainFrame>();
    frame_->setWindowTitle(CMainFrame::kTitle);
    frame_->showNormal();
    frame_->repaint();
    return true;
}
