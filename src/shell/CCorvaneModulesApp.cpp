#include "shell/CCorvaneModulesApp.h"

#include "shell/CMainFrame.h"
#include "base/ui/FormSupport.h"
#include "shell/RegisterForms.h"
#include "base/UserMessages.h"

CCorvaneModulesApp::CCorvaneModulesApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Corvane Utility");
    setApplicationVersion("2.0.0");
}

CCorvaneModulesApp::~CCorvaneModulesApp() = default;

bool CCorvaneModulesApp::InitInstance()
{
    InstallQtSeams();
    // What the settings store had to say before the application existed is
    // shown now, before the main window.
    for (const UserMessage& m : TakePendingMessages()) ShowMessage(m);
    RegisterAllForms();
    frame_ = std::make_unique<CMainFrame>();
    frame_->setWindowTitle(CMainFrame::kTitle);
    frame_->showNormal();
    frame_->repaint();
    return true;
}
